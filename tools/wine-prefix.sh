#!/usr/bin/env bash
# Makes a Wine prefix ready for the Windows build of Rilegora, once (a marker
# file in the prefix says it is done; a lock keeps parallel tests apart).
#
#   tools/wine-prefix.sh offscreen|desktop <prefix>
#
# Both: Wine has no Verdana, Arial, Tahoma or Courier New, the faces the
# program's screens and prints ask for; they are mapped to DejaVu and
# Liberation faces (HKLM FontSubstitutes), as a Windows user would see
# metrically close faces and not a serif fallback.
# offscreen: QT_QPA_PLATFORM=offscreen and QT_QPA_FONTDIR in HKCU\Environment
# (Wine does not pass QT_* variables through), a font folder for it, and
# C:\rilegora-tools\pdftotext.exe, Poppler's Linux program, which Wine
# starts for the tests that read PDF files back.
# desktop: the windows platform, for the real program on an X display.
set -euo pipefail
mode=$1
export WINEPREFIX=$2
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
marker=$WINEPREFIX/.rilegora-$mode
[ -f "$marker" ] && exit 0
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$marker" ] && exit 0

wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Wine links the user's Desktop, Documents and the like to the Linux home:
# folders of the prefix instead, so that shortcuts and files the programs
# write there stay in the prefix.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm -f "$link"
    mkdir -p "$link"
  fi
done
reg=$(mktemp "${TMPDIR:-/tmp}/rilegora-XXXXXX.reg")
trap 'rm -f "$reg"' EXIT
{
  echo 'REGEDIT4'
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
  echo '"Verdana"="DejaVu Sans"'
  echo '"Tahoma"="DejaVu Sans"'
  echo '"Arial"="Liberation Sans"'
  echo '"Courier New"="Liberation Mono"'
  echo '"Times New Roman"="Liberation Serif"'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  echo '"Verdana"="DejaVu Sans"'
  echo '"Tahoma"="DejaVu Sans"'
  echo '"Arial"="Liberation Sans"'
  echo '"Courier New"="Liberation Mono"'
  echo '"Times New Roman"="Liberation Serif"'
  echo
} >"$reg"
if [ "$mode" = offscreen ]; then
  fonts=$WINEPREFIX/drive_c/rilegora-fonts
  tools=$WINEPREFIX/drive_c/rilegora-tools
  mkdir -p "$fonts" "$tools"
  for f in /usr/share/fonts/truetype/dejavu/*.ttf /usr/share/fonts/truetype/liberation2/*.ttf \
           /usr/share/fonts/truetype/liberation/*.ttf; do
    [ -f "$f" ] && ln -sf "$f" "$fonts/"
  done
  command -v pdftotext >/dev/null && ln -sf "$(command -v pdftotext)" "$tools/pdftotext.exe"
  {
    echo '[HKEY_CURRENT_USER\Environment]'
    echo '"QT_QPA_PLATFORM"="offscreen"'
    echo '"QT_QPA_FONTDIR"="C:\\rilegora-fonts"'
    echo
  } >>"$reg"
fi
wine regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1
wineserver -w
touch "$marker"
