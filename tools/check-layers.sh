#!/usr/bin/env bash
# Fails when a file of the program includes one from a layer above its own.
# The folders of src/, from the bottom up:
#   core        GUI-free shared code and record files (Qt Core only)
#   kit         the shared screen kit: conventions, decor, picture widgets,
#               covers, the file chooser, messages, help, about and splash
#   report      the report engine and the print windows' frame
#   access      password and settings
#   output      card printing, list reports, export and import
#   search      the search screen and the Dewey table
#   catalogues  the catalogue files and the page editor
#   books       the card screen and its own windows
#   app         the screen set, the launcher and main.cpp
# A file may include from its own folder and from any folder listed before
# it; includes of Qt and the standard library are not looked at.
#   tools/check-layers.sh [source root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
layers=(core kit report access output search catalogues books app)

rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

found=0
mapfile -t files < <(find src -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
for f in "${files[@]}"; do
  rel=${f#src/}
  case "$rel" in */*) own=${rel%%/*} ;; *) own=app ;; esac
  own_rank=$(rank "$own")
  if [ "$own_rank" -lt 0 ]; then
    echo "Folder not in the layer order: $f"
    found=1
    continue
  fi
  while IFS=: read -r line inc; do
    [ -n "$inc" ] || continue
    case "$inc" in */*) target=${inc%%/*} ;; *) continue ;; esac
    target_rank=$(rank "$target")
    if [ "$target_rank" -lt 0 ]; then
      echo "Include from a folder not in the layer order: $f:$line: $inc"
      found=1
    elif [ "$target_rank" -gt "$own_rank" ]; then
      echo "Upward include: $f:$line: $own includes $inc ($target is above $own)"
      found=1
    fi
  done < <(sed 's://.*$::' "$f" | grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1:\2/')
done
if [ "$found" -ne 0 ]; then
  echo "A layer includes only from its own folder and the layers below it (docs/ARCHITECTURE.md)."
  exit 1
fi
echo "Every include in src/ points to its own layer or one below it"
