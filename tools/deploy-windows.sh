#!/usr/bin/env bash
# Makes an installed Windows program folder self-contained, in place of
# windeployqt (which the cross build lacks): copies the Qt plugins the
# program loads, then every DLL that the executable, the plugins and the
# copied DLLs import (objdump -p), from the Qt for Windows and the MinGW
# runtime, until nothing is missing; strips what it copied and the program.
#
#   tools/deploy-windows.sh <Qt for Windows> <program folder>
set -euo pipefail
qt=$1
folder=$2
cross=x86_64-w64-mingw32
objdump=$cross-objdump
strip=$cross-strip
runtime=$(dirname "$($cross-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$($cross-g++-posix -print-file-name=libwinpthread-1.dll)")
search=("$qt/bin" "$runtime" "$pthread" "/usr/$cross/lib" "/usr/$cross/bin")

# The plugins: the platform, the Windows styles, the picture formats of the
# covers and photos (JPEG, PNG built in, SVG, ICO, GIF) and the SVG icons.
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll
         imageformats/qjpeg.dll imageformats/qsvg.dll imageformats/qico.dll imageformats/qgif.dll
         iconengines/qsvgicon.dll)
for p in "${plugins[@]}"; do
  [ -f "$qt/plugins/$p" ] || { echo "deploy: $qt/plugins/$p is missing" >&2; exit 1; }
  mkdir -p "$folder/$(dirname "$p")"
  cp -f "$qt/plugins/$p" "$folder/$p"
done

find_dll() {
  local dir
  for dir in "${search[@]}"; do
    [ -f "$dir/$1" ] && { echo "$dir/$1"; return 0; }
  done
  return 1
}

# DLLs the system provides (kernel32, user32, the UCRT or msvcrt ...) are
# not found in the search folders and stay where they are.
changed=1
while [ "$changed" -eq 1 ]; do
  changed=0
  while IFS= read -r binary; do
    while IFS= read -r dll; do
      [ -f "$folder/$dll" ] && continue
      if source=$(find_dll "$dll"); then
        cp -f "$source" "$folder/$dll"
        changed=1
      fi
    done < <("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p')
  done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -name unins000.dll)
done

find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) ! -name unins000.dll -exec "$strip" --strip-unneeded {} +
