#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs the whole test suite on
# the offscreen platform. Any report of either sanitizer, leaks included,
# ends the test that caused it as a failure.
#
#     tools/run-sanitizers.sh [ctest arguments]   # e.g. -R tst_bookarchive
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-asan
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRILEGORA_WERROR=ON \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
      > "$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" -- --no-print-directory > /dev/null

export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: the runtimes of gcc 12 and clang 14 misread some
# dynamic TLS blocks (of the libraries Qt loads) as an old glibc's, and
# LeakSanitizer's tracer then crashes at exit now and then, with no leak.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@"
