#!/usr/bin/env bash
# Installs what is missing, builds Rilegora with warnings as errors, starts
# the print system and runs every test on the offscreen platform; then fuzzes
# the file formats for a few seconds and runs every test again under the
# address and undefined-behaviour sanitizers (docs/RELIABILITY.md).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
# The program's sources stay free of POSIX, for the Windows build.
tools/check-portable.sh
# Each layer of src/ includes only from itself and the layers below it.
tools/check-layers.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRILEGORA_WERROR=ON
cmake --build build -j"$(nproc)"
# A real print system for the printing tests: a cups-pdf queue as the
# default printer. Where it cannot be started, only the test that prints
# through it is skipped; every other printing test renders to PDF itself.
if RILEGORA_PRINTER_QUEUE=$(tools/start-printer.sh); then
  export RILEGORA_PRINTER_QUEUE
else
  echo "warning: no print system could be started; tst_systemprint is skipped" >&2
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
# Smoke test: the program starts and runs its event loop.
timeout 5 build/rilegora/rilegora && status=0 || status=$?
[ "$status" -eq 124 ] || { echo "rilegora did not keep running (exit $status)"; exit 1; }
echo "rilegora started and ran its event loop"
echo "build, tests and start: ${SECONDS} s"
# The record formats, the settings file, the scrambling and the picture
# guard under libFuzzer, a few seconds each (tools/run-fuzz.sh SECONDS for
# a longer run).
tools/run-fuzz.sh
echo "with fuzzing: ${SECONDS} s"
# The whole suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
tools/run-sanitizers.sh
echo "with the sanitizer suite: ${SECONDS} s"
