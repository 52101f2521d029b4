#!/usr/bin/env bash
# Runs a program of the Windows build under Wine, on Qt's offscreen platform:
# the emulator of the cross build (packaging/windows/mingw-w64-x86_64.cmake)
# for the build-time tools and the tests.
#
#   tools/wine-run.sh --qt <Qt for Windows> [--qtest] program.exe [arguments]
#
# --qtest: a QtTest program, whose log Wine does not pass through the pipe;
# it is written to a file (-o file,txt) and shown afterwards. The test's own
# QT_QPA_PLATFORM (a screen size of its own, say) becomes its -platform
# argument, which QApplication takes before QtTest reads the rest.
#
# Wine does not hand QT_* variables of the environment to Windows programs,
# so they live in the prefix's HKCU\Environment: QT_QPA_PLATFORM=offscreen
# and QT_QPA_FONTDIR, a folder of DejaVu and Liberation faces (the offscreen
# platform reads fonts from there). The prefix is its own
# (RILEGORA_WINEPREFIX, default ~/.cache/rilegora-windows/wine-offscreen).
set -euo pipefail
qt=""
qtest=0
while [ $# -gt 0 ]; do
  case $1 in
    --qt) qt=$2; shift 2 ;;
    --qtest) qtest=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: $0 --qt <prefix> [--qtest] program.exe [arguments]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${RILEGORA_WINEPREFIX:-${RILEGORA_WIN_CACHE:-$HOME/.cache/rilegora-windows}/wine-offscreen}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs, no menu entries on the Linux desktop.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
"$here/wine-prefix.sh" offscreen "$WINEPREFIX"

# The Qt DLLs, the MinGW runtime and, for the tests that read PDF files
# back, Poppler's pdftotext (Wine starts Linux programs too).
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
winepath="Z:${runtime//\//\\};Z:${pthread//\//\\};C:\\rilegora-tools"
[ -n "$qt" ] && winepath="Z:${qt//\//\\}\\bin;$winepath"
export WINEPATH="$winepath${WINEPATH:+;$WINEPATH}"

if [ "$qtest" -eq 0 ]; then
  exec wine "$@"
fi
log=$(mktemp "${TMPDIR:-/tmp}/qtest-XXXXXX.txt")
trap 'rm -f "$log"' EXIT
program=$1
shift
status=0
platform=()
# Plain offscreen comes from the prefix; a QCoreApplication test takes no -platform.
[ -n "${QT_QPA_PLATFORM:-}" ] && [ "$QT_QPA_PLATFORM" != offscreen ] && platform=(-platform "$QT_QPA_PLATFORM")
wine "$program" "${platform[@]}" "$@" -o "Z:${log//\//\\},txt" || status=$?
cat "$log"
exit "$status"
