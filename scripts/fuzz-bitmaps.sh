#!/usr/bin/env bash
# Fuzzes the bitmap file decoder on one core for a long run (an hour unless
# told otherwise), from a corpus seeded with valid and broken bitmaps and
# kept between runs. Needs the build made by ./test.sh (build/, with the
# libFuzzer target); findings (crashes, leaks, allocations past the cap,
# hangs) are written to build/fuzz-findings/ and make the script fail.
#
#   scripts/fuzz-bitmaps.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz-bitmaps.sh [SECONDS] [BUILD_DIR]" >&2; exit 2; }
build=${2:-build}
fuzzer=$build/tests/fuzz/bitmap-file-fuzz
seeds=$build/tests/fuzz/bitmap-file-seeds
[[ -x "$fuzzer" ]] || { echo "$fuzzer is missing: run ./test.sh first (it builds the fuzz targets with clang)" >&2; exit 1; }

corpus=$build/fuzz-corpus/bitmap-file
findings=$build/fuzz-findings
mkdir -p "$corpus" "$findings"
python3 tests/fuzz/make_seeds.py "$seeds"
# The program's own small pictures are seeds too.
for picture in koke mul chn; do
  [[ -f "$build/run/$picture.bmp" ]] && cp "$build/run/$picture.bmp" "$corpus/program_$picture.bmp"
done

# One process on one core; the malloc limit is the decoder's pixel cap (64 MiB decoded) and
# a little more, as in the short run ctest makes. Inputs up to 128 KiB let
# run-length files claim pictures past the cap.
log=$findings/last-run.log
status=0
"$fuzzer" -max_total_time="$seconds" -malloc_limit_mb=68 -rss_limit_mb=1024 -timeout=10 -max_len=131072 \
  -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" 2>"$log" || status=$?

runs=$(grep -o '^stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
found=$(find "$findings" -maxdepth 1 -type f ! -name last-run.log | wc -l)
echo "bitmap decoder fuzzed for $seconds s: $runs executions, corpus of $(ls "$corpus" | wc -l) inputs," \
  "$found findings in $findings (log: $log)"
((status == 0 && found == 0))
