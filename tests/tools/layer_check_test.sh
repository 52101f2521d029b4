#!/usr/bin/env bash
# tools/check-layers.sh: passes on the program's own tree; on small trees it
# names each include that points to a layer above its file's own, between
# subsystems against their order too, and passes over includes within a
# layer or downwards, Qt's and the standard library's, and commented ones.
set -euo pipefail
check=$1
source_root=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

out=$("$check" "$source_root") || { echo "the program's tree failed: $out"; exit 1; }

mkdir -p "$tree/src/core" "$tree/src/kit" "$tree/src/search" "$tree/src/books" "$tree/src/app"
cat > "$tree/src/core/record.h" <<'CPP'
#include <QString>
#include "shortstring.h"
// #include "kit/conventions.h" is only a comment
CPP
cat > "$tree/src/kit/screens.cpp" <<'CPP'
#include "screens.h"
#include "core/record.h"
CPP
cat > "$tree/src/books/tfrmlibri.cpp" <<'CPP'
#include "search/tfrmtrovalibri.h"
#include "kit/screens.h"
CPP
cat > "$tree/src/app/main.cpp" <<'CPP'
#include "books/tfrmlibri.h"
CPP
out=$("$check" "$tree") || { echo "a clean tree failed: $out"; exit 1; }

# Upward: the bottom layer reaching the kit, a subsystem reaching the top,
# a subsystem reaching one after it in the order.
cat >> "$tree/src/core/record.h" <<'CPP'
#include "kit/conventions.h"
CPP
cat > "$tree/src/search/tfrmtrovalibri.cpp" <<'CPP'
#include "kit/screens.h"
#include "app/screenset.h"
#include "books/tfrmlibri.h"
CPP
if out=$("$check" "$tree"); then
  echo "upward includes passed: $out"
  exit 1
fi
for line in "src/core/record.h:4: core includes kit/conventions.h" \
            "src/search/tfrmtrovalibri.cpp:2: search includes app/screenset.h" \
            "src/search/tfrmtrovalibri.cpp:3: search includes books/tfrmlibri.h"; do
  grep -qF "$line" <<<"$out" || { echo "not named: $line"; echo "$out"; exit 1; }
done
[ "$(grep -c '^Upward include' <<<"$out")" -eq 3 ] || { echo "more than the three were named: $out"; exit 1; }

# A folder outside the order is named too.
rm "$tree/src/core/record.h" "$tree/src/search/tfrmtrovalibri.cpp"
mkdir -p "$tree/src/extra"
echo '#include "core/record.h"' > "$tree/src/extra/x.cpp"
if out=$("$check" "$tree"); then
  echo "a folder outside the order passed: $out"
  exit 1
fi
grep -qF "Folder not in the layer order: src/extra/x.cpp" <<<"$out" || { echo "$out"; exit 1; }
echo "layer check ok"
