#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each one for a few
# seconds, starting from its seed corpus in fuzz/corpus/<target>/.
#
#     tools/run-fuzz.sh [SECONDS]      # seconds per target, 5 by default
#     tools/run-fuzz.sh 1800           # a longer run: half an hour each
#
# Fails on the first crash, sanitizer report, failed check, timeout or
# excess of memory; the input that caused it is kept in
# build-fuzz/artifacts/ and the target's log in build-fuzz/logs/. Replay an
# input with build-fuzz/fuzz/<target> FILE. New inputs found go to
# build-fuzz/corpus/<target>/; the committed seeds are never changed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
build=build-fuzz
targets=(fuzz_cardrecord fuzz_cataloguepage fuzz_settings fuzz_crypt fuzz_picture fuzz_spreadsheetimport)

mkdir -p "$build"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DRILEGORA_FUZZ=ON -DRILEGORA_WERROR=ON > "$build/configure.log" 2>&1 \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" -- --no-print-directory > /dev/null

mkdir -p "$build/artifacts" "$build/logs"
export QT_QPA_PLATFORM=offscreen
# As in tools/run-sanitizers.sh: keeps LeakSanitizer's tracer from crashing
# now and then at exit on the dynamic TLS of the libraries Qt loads.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_tls_get_addr=0
status=0
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  log="$build/logs/$target.log"
  # -timeout: one input may take at most 10 s; -rss_limit_mb: and 2.5 GB.
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
       "$build/corpus/$target" "fuzz/corpus/$target" > "$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} executions in ${seconds} s, no failure"
  else
    echo "$target: FAILED (log: $log)" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit "$status"
