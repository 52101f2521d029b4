#!/usr/bin/env bash
# Tests the Windows build under Wine:
#  1. the whole test suite built for Windows (build-windows/suite), run by
#     CTest with Wine as the emulator (tools/wine-run.sh), offscreen;
#  2. the program of the ZIP itself on the windows platform, on an X server
#     of its own (Xvfb), in a Wine prefix of its own: it logs in with the
#     initial password and reaches the launcher; screenshots of the real
#     windows, and of the card screen, the page editor and a printed page of
#     the demonstration folder, go to docs/screenshots/windows/;
#  3. the installer: a silent install, a reinstall that keeps a changed
#     password, a silent uninstall that keeps the user's data.
#
#   tools/test-windows.sh [--no-suite] [--no-program] [--no-installer]
#
# tools/build-windows.sh must have run (it makes the ZIP and the installer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
suite=1
program=1
installer=1
for arg in "$@"; do
  case $arg in
    --no-suite) suite=0 ;;
    --no-program) program=0 ;;
    --no-installer) installer=0 ;;
    *) echo "usage: $0 [--no-suite] [--no-program] [--no-installer]" >&2; exit 2 ;;
  esac
done
start=$SECONDS
log() { echo "== $* ($((SECONDS - start)) s)" >&2; }
cache=${RILEGORA_WIN_CACHE:-$HOME/.cache/rilegora-windows}
export RILEGORA_WIN_CACHE=$cache
build=${RILEGORA_WIN_BUILD:-$root/build-windows}
jobs=${RILEGORA_WIN_JOBS:-2}
[ -f "$build/CMakeCache.txt" ] || { echo "run tools/build-windows.sh first" >&2; exit 1; }
qt=$(sed -n 's/^RILEGORA_WIN_QT:PATH=//p' "$build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
zip=$build/Rilegora-$version-win64.zip
setup=$build/Rilegora-$version-setup.exe
failures=()

# --- 1. The test suite under Wine --------------------------------------------
if [ "$suite" -eq 1 ]; then
  tests=$build/suite
  log "building the test suite for Windows in $tests"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$tests" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRILEGORA_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/mingw-w64-x86_64.cmake" \
        -DRILEGORA_WIN_QT="$qt" -DRILEGORA_QT_TRANSLATIONS=/usr/share/qt6/translations \
        -DRILEGORA_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
  CCACHE_BASEDIR=$root nice cmake --build "$tests" --parallel "$jobs"
  log "running the test suite under Wine"
  export QT_QPA_PLATFORM=offscreen
  if ! ctest --test-dir "$tests" -j"$jobs" --output-on-failure --timeout 600 2>&1 | tee "$tests/ctest-wine.log"; then
    failures+=("test suite")
  fi
  grep -q '100% tests passed' "$tests/ctest-wine.log" || failures+=("test suite")
  unset QT_QPA_PLATFORM
  WINEPREFIX=${RILEGORA_WINEPREFIX:-$cache/wine-offscreen} wineserver -k 2>/dev/null || true
fi

# --- An X server and a Wine prefix for the windows platform ----------------
xvfb_pid=""
desktop_prefix=$cache/wine-desktop
cleanup() {
  [ -n "$xvfb_pid" ] || return 0
  WINEPREFIX=$desktop_prefix wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_display() {
  [ -n "$xvfb_pid" ] && return 0
  for n in $(seq 71 99); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done
    return 0
  done
  echo "no free X display" >&2
  return 1
}
export WINEPREFIX=$desktop_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
screen_png() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
# Waits up to $2 seconds for a window whose title contains $1.
wait_window() {
  local i
  for i in $(seq $(($2 * 5))); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep . && return 0
    sleep 0.2
  done
  return 1
}
# Waits up to $2 seconds for the window $1 to be gone from the screen.
wait_gone() {
  local i
  for i in $(seq $(($2 * 5))); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.2
  done
  return 1
}

# --- 2. The program itself ---------------------------------------------------
if [ "$program" -eq 1 ]; then
  start_display
  "$root/tools/wine-prefix.sh" desktop "$WINEPREFIX"
  shots=$root/docs/screenshots/windows
  mkdir -p "$shots"
  folder=$WINEPREFIX/drive_c/Rilegora
  rm -rf "$folder" "$WINEPREFIX/drive_c/unpack"
  mkdir -p "$WINEPREFIX/drive_c/unpack"
  (cd "$WINEPREFIX/drive_c/unpack" && unzip -q "$zip")
  mv "$WINEPREFIX/drive_c/unpack/Rilegora-$version-win64" "$folder"
  log "starting C:\\Rilegora\\rilegora.exe on $DISPLAY"
  (cd "$folder" && wine rilegora.exe >/dev/null 2>&1) &
  if login=$(wait_window "Autenticazione" 60); then
    sleep 2
    screen_png "$shots/login.png"
    xdotool windowactivate --sync "$login" 2>/dev/null || true
    xdotool type --delay 80 rilegora
    xdotool key Return
    # The launcher is shown while the login is still closing over it: the
    # picture waits for the login to be gone.
    if launcher=$(wait_window "Schedario libri e cataloghi" 30) && wait_gone "$login" 30; then
      sleep 2
      screen_png "$shots/launcher.png"
      echo "logged in and reached the launcher" >&2
      xdotool windowclose "$launcher" 2>/dev/null || true
    else
      failures+=("the program did not reach the launcher")
      screen_png "$shots/after-login-failed.png"
    fi
  else
    failures+=("the program showed no login window")
    screen_png "$shots/no-login.png"
  fi
  wineserver -k 2>/dev/null || true

  # The card screen with a cover, the page editor with a page and a printed
  # page, on the demonstration folder, drawn by the program's own screens on
  # the windows platform (Windows style, GDI fonts).
  tools_dir=$build/tools
  if [ -f "$tools_dir/rilegora-demo.exe" ] && [ -f "$tools_dir/rilegora-grab.exe" ]; then
    demo=$WINEPREFIX/drive_c/Demo
    rm -rf "$demo"
    cp -r "$folder" "$demo"
    runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
    pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
    export WINEPATH="Z:${qt//\//\\}\\bin;Z:${runtime//\//\\};Z:${pthread//\//\\}"
    # The demonstration covers are drawn in DejaVu faces, which this prefix's
    # GDI shows as empty boxes: they are drawn on the offscreen platform of
    # the test prefix, which reads the faces from its font folder.
    "$root/tools/wine-run.sh" --qt "$qt" "$tools_dir/rilegora-demo.exe" "Z:${demo//\//\\}" >/dev/null 2>&1 ||
      failures+=("rilegora-demo under Wine")
    WINEPREFIX=${RILEGORA_WINEPREFIX:-$cache/wine-offscreen} wineserver -k 2>/dev/null || true
    grab() { wine "$tools_dir/rilegora-grab.exe" "$1" "Z:${shots//\//\\}\\$2" 'C:\Demo' "${@:3}" >/dev/null 2>&1 ||
               failures+=("rilegora-grab $1"); }
    grab TfrmLibri card.png click:cmdPrimo
    grab TfrmListinoPrezzi catalogue.png "catalogue:Novità in vetrina.cat" click:cmdAvanti
    if [ -f "$tools_dir/rilegora-print.exe" ]; then
      pdf=$(mktemp --suffix=.pdf)
      wine "$tools_dir/rilegora-print.exe" catalogue "Z:${pdf//\//\\}" 'C:\Demo' "Novità in vetrina.cat" 1 >/dev/null 2>&1 &&
        pdftoppm -r 100 -png -singlefile "$pdf" "$shots/catalogue-print" || failures+=("rilegora-print under Wine")
      rm -f "$pdf"
      # Through the Windows print path (GDI, Wine's spooler and PostScript
      # driver) to the CUPS queue the Linux tests use, when it runs
      # (tools/start-printer.sh): a book card and a catalogue page, as
      # cups-pdf writes them.
      if lpstat -p RilegoraPDF >/dev/null 2>&1; then
        print_to_queue() { # <report> <png> [arguments]
          local before after job pdf="" i
          before=$(lpstat -W all -o RilegoraPDF | awk '{print $1}' | sort)
          wine "$tools_dir/rilegora-print.exe" "$1" printer:RilegoraPDF "${@:3}" >/dev/null 2>&1 ||
            { failures+=("rilegora-print $1 to RilegoraPDF"); return; }
          for i in $(seq 150); do
            after=$(lpstat -W all -o RilegoraPDF | awk '{print $1}' | sort)
            job=$(comm -13 <(echo "$before") <(echo "$after") | head -n1)
            if [ -n "$job" ]; then
              pdf=$(ls "$HOME"/PDF/*"job_${job##*-}.pdf" /var/spool/cups-pdf/*/*"job_${job##*-}.pdf" 2>/dev/null |
                    head -n1 || true)
            fi
            if [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1; then break; fi
            sleep 0.2
          done
          if [ -n "$pdf" ] && pdftoppm -r 100 -png -singlefile "$pdf" "$shots/$2"; then
            echo "printed $1 through the Windows print path: $job, $pdf" >&2
          else
            failures+=("no PDF from RilegoraPDF for $1")
          fi
        }
        print_to_queue card printed-card
        print_to_queue catalogue printed-catalogue 'C:\Demo' "Novità in vetrina.cat" 1
      else
        echo "no CUPS queue RilegoraPDF (tools/start-printer.sh): the Windows print path not tried" >&2
      fi
    fi
    # The shell hand-offs (ShellExecute through QDesktopServices): the
    # maker's site from the launcher, the manual from the help, an attached
    # PDF. Wine hands them to winebrowser, which starts xdg-open: a recorder
    # of that name on the PATH writes down what arrives.
    recorder=$(mktemp -d)
    printf '#!/bin/sh\necho "$*" >>"%s/opened.txt"\n' "$recorder" >"$recorder/xdg-open"
    chmod +x "$recorder/xdg-open"
    wineserver -k 2>/dev/null || true
    hand_off() { PATH=$recorder:$PATH wine "$tools_dir/rilegora-grab.exe" "$1" "Z:${recorder//\//\\}\\shot.png" 'C:\Demo' \
                   "${@:2}" wait:3000 >/dev/null 2>&1 || failures+=("hand-off from $1"); }
    hand_off TfrmAvvio click:imgSito
    hand_off TfrmGuida click:imgPDF
    hand_off TfrmAllegaCartella type:txtFile01=Estratto_capitolo_primo.pdf click:btnApri01
    for expected in 'https://www.rilegora.it/' '/c:/Demo/Guida.pdf' '/c:/Demo/Documenti_Allegati/Estratto_capitolo_primo.pdf'; do
      if grep -qF "$expected" "$recorder/opened.txt" 2>/dev/null; then
        echo "handed to the desktop: $expected" >&2
      else
        failures+=("no hand-off of $expected")
      fi
    done
    rm -rf "$recorder"
    unset WINEPATH
    wineserver -k 2>/dev/null || true
  fi
  log "screenshots in $shots"
fi

# --- 3. The installer ----------------------------------------------------------
if [ "$installer" -eq 1 ]; then
  log "the installer, silently, under Wine"
  export WINEPREFIX=$cache/wine-installer
  rm -rf "$WINEPREFIX"
  "$root/tools/wine-prefix.sh" desktop "$WINEPREFIX"
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n1)
  target=$user_dir/AppData/Local/Programs/Rilegora
  check() { if eval "$2"; then echo "ok: $1" >&2; else echo "FAILED: $1" >&2; failures+=("installer: $1"); fi; }
  wine "$setup" /S
  sleep 3
  check "installed into %LOCALAPPDATA%\\Programs\\Rilegora" '[ -f "$target/rilegora.exe" ] && [ -f "$target/platforms/qwindows.dll" ]'
  check "initial password store written" '[ -f "$target/unins000.dll" ]'
  check "uninstaller registered for the user" \
        'wine reg query "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Rilegora" /v UninstallString 2>/dev/null | grep -q "Disinstalla Rilegora.exe"'
  check "Start-menu shortcut" '[ -f "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Rilegora.lnk" ]'
  check "desktop shortcut" '[ -f "$user_dir/Desktop/Rilegora.lnk" ]'
  # A changed password and some data, then a reinstall and an uninstall.
  printf 'changed' >"$target/unins000.dll"
  mkdir -p "$target/Copertine_Libri"
  printf 'x' >"$target/Archivio_Libri.pro"
  printf 'x' >"$target/Copertine_Libri/Foto_1.jpg"
  wine "$setup" /S
  sleep 3
  check "a reinstall keeps a changed password" '[ "$(cat "$target/unins000.dll")" = changed ]'
  wine "$target/Disinstalla Rilegora.exe" /S
  sleep 3
  sleep 2 # the uninstaller runs from a copy of itself
  check "the uninstall removes the program" '[ ! -e "$target/rilegora.exe" ] && [ ! -e "$target/Qt6Core.dll" ] && [ ! -e "$target/platforms" ]'
  check "the uninstall keeps the data and the password" \
        '[ -f "$target/Archivio_Libri.pro" ] && [ -f "$target/Copertine_Libri/Foto_1.jpg" ] && [ -f "$target/unins000.dll" ]'
  check "the uninstall removes its registration" \
        '! wine reg query "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Rilegora" >/dev/null 2>&1'
  wineserver -k 2>/dev/null || true
fi

log "finished"
if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failures[@]}" >&2
  exit 1
fi
echo "Windows build tested under Wine: all passed"
