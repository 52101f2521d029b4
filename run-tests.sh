#!/usr/bin/env bash
# Installs what is missing, builds Rilegora with warnings as errors and runs
# every test on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
# The program's sources stay free of POSIX, for the Windows build.
tools/check-portable.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRILEGORA_WERROR=ON
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
# Smoke test: the program starts and runs its event loop.
timeout 5 build/rilegora/rilegora && status=0 || status=$?
[ "$status" -eq 124 ] || { echo "rilegora did not keep running (exit $status)"; exit 1; }
echo "rilegora started and ran its event loop"
