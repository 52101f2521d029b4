#!/usr/bin/env bash
# Builds the Windows program on Debian: MinGW-w64 cross compiler, a Qt 6.4.2
# for Windows built once from Debian's qt6-base source (QtSvg from Qt's own
# repository) into a cache outside the source tree, then Rilegora with
# warnings as errors, packed as build-windows/Rilegora-<version>-win64.zip
# and the NSIS installer build-windows/Rilegora-<version>-setup.exe.
#
#   tools/build-windows.sh [--qt-only] [--no-deps]
#
#   RILEGORA_WIN_CACHE  cache of the cross Qt (default ~/.cache/rilegora-windows)
#   RILEGORA_QTSVG_SRC  a checkout of qt/qtsvg at tag v6.4.2
#                       (default: cloned from GitHub into the cache)
#   RILEGORA_WIN_BUILD  the build folder (default build-windows)
#   RILEGORA_WIN_JOBS   parallel jobs (default 2)
#
# docs/BUILDING.md describes the steps and what they produce.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
qt_only=0
deps=1
for arg in "$@"; do
  case $arg in
    --qt-only) qt_only=1 ;;
    --no-deps) deps=0 ;;
    *) echo "usage: $0 [--qt-only] [--no-deps]" >&2; exit 2 ;;
  esac
done
start=$SECONDS
jobs=${RILEGORA_WIN_JOBS:-2}
cache=${RILEGORA_WIN_CACHE:-$HOME/.cache/rilegora-windows}
build=${RILEGORA_WIN_BUILD:-$root/build-windows}
mkdir -p "$cache"
log() { echo "== $* ($((SECONDS - start)) s)" >&2; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# --- What the cross build needs ----------------------------------------------
if [ "$deps" -eq 1 ]; then
  "$root/tools/install-deps.sh" --windows
fi

# --- Qt 6.4.2 for Windows, built once ---------------------------------------
# Debian's qt6-base source is the same version as the host's moc, rcc and
# uic, which the cross build uses (-qt-host-path). The options keep to what
# Rilegora needs; the third-party libraries are Qt's bundled ones. The
# Debian tarball lacks src/3rdparty/wintab, hence no tablet events.
qt_version=6.4.2
qt_options=(-release -opensource -confirm-license
            -xplatform win32-g++
            -qt-host-path /usr
            -nomake examples -nomake tests
            -no-opengl -no-dbus -no-icu -no-feature-sql -no-feature-network
            -no-feature-vulkan -no-feature-tabletevent
            -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
            -no-feature-concurrent)
qt_cmake_options=(-G Ninja
                  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
                  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64
                  -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix
                  -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix
                  -DCMAKE_RC_COMPILER=x86_64-w64-mingw32-windres
                  -DCMAKE_FIND_ROOT_PATH=/usr/x86_64-w64-mingw32
                  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
                  -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
                  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
                  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=BOTH)
qt_key=$(printf '%s\n' "${qt_options[@]}" "${qt_cmake_options[@]}" | sha256sum | cut -c1-12)
qt_prefix=$cache/qt-$qt_version-$qt_key

if [ ! -f "$qt_prefix/.qtbase-complete" ]; then
  log "building Qt $qt_version for Windows into $qt_prefix (about 35 minutes on 2 cores)"
  src=$cache/src
  mkdir -p "$src"
  qtbase_src=$(find "$src" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
  if [ -z "$qtbase_src" ]; then
    if ! (cd "$src" && apt-get source --print-uris qt6-base >/dev/null 2>&1) ||
       ! (cd "$src" && apt-get source --print-uris qt6-base | grep -q "qt6-base_$qt_version"); then
      # The source packages need a deb-src entry.
      echo "adding a deb-src entry for Debian bookworm" >&2
      $sudo tee /etc/apt/sources.list.d/rilegora-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
      $sudo apt-get update
    fi
    (cd "$src" && apt-get source qt6-base)
    qtbase_src=$(find "$src" -maxdepth 1 -type d -name "qt6-base-$qt_version*" | head -n1)
  fi
  qt_build=$cache/build-qtbase-$qt_key
  rm -rf "$qt_build" "$qt_prefix"
  mkdir -p "$qt_build"
  (cd "$qt_build" &&
   "$qtbase_src/configure" -prefix "$qt_prefix" "${qt_options[@]}" -- "${qt_cmake_options[@]}" &&
   nice -n 10 cmake --build . --parallel "$jobs" &&
   cmake --install .)
  touch "$qt_prefix/.qtbase-complete"
  rm -rf "$qt_build"
fi

# QtSvg of the same version, from Qt's repository (Debian's qt6-svg source
# is not on the mirror).
if [ ! -f "$qt_prefix/.qtsvg-complete" ]; then
  svg_src=${RILEGORA_QTSVG_SRC:-$cache/src/qtsvg-$qt_version}
  if [ ! -f "$svg_src/CMakeLists.txt" ]; then
    log "cloning qt/qtsvg v$qt_version into $svg_src"
    git clone --depth 1 --branch "v$qt_version" https://github.com/qt/qtsvg.git "$svg_src"
  fi
  log "building QtSvg $qt_version for Windows"
  svg_build=$cache/build-qtsvg-$qt_key
  rm -rf "$svg_build"
  mkdir -p "$svg_build"
  # The Qt for Windows does not record the cross compiler: the same settings again.
  (cd "$svg_build" && "$qt_prefix/bin/qt-configure-module" "$svg_src" -- "${qt_cmake_options[@]}" &&
   nice -n 10 cmake --build . --parallel "$jobs" && cmake --install .)
  touch "$qt_prefix/.qtsvg-complete"
  rm -rf "$svg_build"
fi
log "Qt for Windows ready in $qt_prefix"
[ "$qt_only" -eq 1 ] && exit 0

# --- Rilegora for Windows -----------------------------------------------------
# Warnings are errors, as on Linux. The tools that run at build time (the
# manual, the icon, the initial password) and the tests run under Wine.
log "building Rilegora for Windows in $build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export RILEGORA_WIN_CACHE=$cache
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRILEGORA_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/mingw-w64-x86_64.cmake" \
      -DRILEGORA_WIN_QT="$qt_prefix" -DRILEGORA_QT_TRANSLATIONS=/usr/share/qt6/translations \
      -DRILEGORA_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
CCACHE_BASEDIR=$root nice cmake --build "$build" --parallel "$jobs"

# --- The portable ZIP -------------------------------------------------------------
log "packing the ZIP"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$build/Rilegora-$version-win64.zip
[ -f "$zip" ] || { echo "cpack made no $zip" >&2; exit 1; }
# The folder the user gets, unpacked from the ZIP itself: the checks below
# and the installer take it from there.
unpacked=$build/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && unzip -q "$zip")
folder=$unpacked/Rilegora-$version-win64
for needed in rilegora.exe unins000.dll Guida.pdf translations/qtbase_it.qm platforms/qwindows.dll \
              imageformats/qjpeg.dll Qt6Core.dll Qt6Widgets.dll Qt6PrintSupport.dll Qt6Svg.dll \
              libstdc++-6.dll libwinpthread-1.dll; do
  [ -f "$folder/$needed" ] || { echo "the ZIP lacks $needed" >&2; exit 1; }
done

# --- The installer ------------------------------------------------------------
log "making the installer"
# The uninstaller deletes exactly the files of the program folder but the
# password store, then the folders left empty.
uninstall_list=$build/uninstall.nsh
{
  (cd "$folder" && find . -type f ! -name unins000.dll | sed 's|^\./||' | sort) |
    while IFS= read -r f; do printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"; done
  (cd "$folder" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) |
    while IFS= read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"; done
} >"$uninstall_list"
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DOUTFILE="$build/Rilegora-$version-setup.exe" \
         -DICON="$build/packaging/rilegora.ico" -DUNINSTALL_LIST="$uninstall_list" \
         "$root/packaging/windows/rilegora.nsi"
log "done: $(du -h "$zip" | cut -f1) $zip, $(du -h "$build/Rilegora-$version-setup.exe" | cut -f1) $build/Rilegora-$version-setup.exe"
