#!/usr/bin/env bash
# Fuzzes whole sessions of the program (replay scripts run on the headless
# host, pixel memory against guard pages, AddressSanitizer and
# UndefinedBehaviorSanitizer on) on one core for a long run, an hour unless
# told otherwise, from the seed corpus in tests/fuzz/session_seeds and a
# corpus kept between runs. The fuzzer needs the whole project built by
# clang with the sanitizers: BUILD_DIR (build-sanitize, as CI makes it) is
# configured and built first when it lacks it. Findings (crashes, leaks,
# hangs) are written to BUILD_DIR/fuzz-findings/session/ and make the
# script fail.
#
#   scripts/fuzz-sessions.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz-sessions.sh [SECONDS] [BUILD_DIR]" >&2; exit 2; }
build=${2:-build-sanitize}
fuzzer=$build/tests/fuzz/session-fuzz

if [[ ! -x "$fuzzer" ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSAMPLE_SANITIZE=ON >/dev/null
    cmake --build "$build" -j"$(nproc)" --target session-fuzz sample_pictures
fi
[[ -x "$fuzzer" ]] || { echo "$fuzzer could not be built (it needs clang++)" >&2; exit 1; }

corpus=$PWD/$build/fuzz-corpus/session
findings=$PWD/$build/fuzz-findings/session
mkdir -p "$corpus" "$findings"
log=$findings/last-run.log
status=0
# The program reads its pictures from the folder it runs in.
root=$PWD
fuzzer=$(realpath "$fuzzer")
(cd "$build/run" && LSAN_OPTIONS=suppressions=$root/tests/fuzz/leak_suppressions.txt "$fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len=4096 \
    -dict="$root/tests/fuzz/session.dict" -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$root/tests/fuzz/session_seeds") 2>"$log" || status=$?

runs=$(grep -o '^stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
rate=$(grep -o '^stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
found=$(find "$findings" -maxdepth 1 -type f ! -name last-run.log | wc -l)
echo "sessions fuzzed for $seconds s: $runs executions ($rate a second), corpus of $(ls "$corpus" | wc -l) inputs," \
  "$found findings in $findings (log: $log)"
((status == 0 && found == 0))
