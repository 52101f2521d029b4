#!/usr/bin/env bash
# Builds the tests of the code that runs threads of its own (the archive's
# read-ahead, the sort of a long result list, the export grid's fill, the
# search screen's Cerca) with ThreadSanitizer in build-tsan/ and runs them
# on the offscreen platform. Any report of a race ends the test as a failure.
#
#     tools/run-tsan.sh [ctest arguments]
#
# Qt itself is not built with ThreadSanitizer, and its own threads (the
# picture scaling pool, QtTest's watchdog) hand memory over through QMutex
# and QWaitCondition, which wait on futexes the sanitizer cannot see; so the
# calls that Qt's libraries make into the sanitizer's runtime (malloc, free,
# memcpy) are left out (ignore_noninstrumented_modules=1). Every access of
# the program's own code is checked, and nothing is suppressed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
flags="-fsanitize=thread -fno-omit-frame-pointer"
tests="tst_bookarchive tst_booksearch tst_tfrmtrovalibri tst_tfrmexplibri"

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRILEGORA_WERROR=ON \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
      > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
# shellcheck disable=SC2086
cmake --build "$build" -j"$(nproc)" --target $tests -- --no-print-directory > /dev/null

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1"
ctest --test-dir "$build" --output-on-failure -R "^($(echo $tests | tr ' ' '|'))\$" "$@"
