#!/usr/bin/env bash
# The page's tests, run by CI after ./test.sh: builds the page with
# scripts/web-build.sh, then
# - runs the pixel loops' tests under Node (WebAssembly's SIMD set against
#   the portable loops' rule: build-web/build/pixel-loop-tests.js);
# - opens the page in headless Chromium and compares it with the frames of
#   the desktop build's sample-replay (build/run, which ./test.sh makes),
#   pixel for pixel (tests/web/page_test.mjs);
# - checks how it reaches a visitor: the first visit's size, the first
#   picture's time, installable, offline after one visit, replaced by a new
#   build (tests/web/delivery_test.mjs).
# Installs Chromium and Node.js first where they are missing.
#
#   tests/web/run.sh [SCREENSHOT_DIR]    # SCREENSHOT_DIR keeps what the page showed
set -euo pipefail
cd "$(dirname "$0")/../.."

source scripts/install_missing.sh
install_missing chromium nodejs
replay=build/run/sample-replay
if [ ! -x "$replay" ]; then
  echo "tests/web/run.sh: no $replay: run ./test.sh (or scripts/setup.sh) first" >&2
  exit 1
fi
scripts/web-build.sh build-web

failed=0
echo "== the pixel loops under Node"
log=build-web/pixel-loop-tests.log
node build-web/build/pixel-loop-tests.js > "$log" 2>&1 || failed=1
grep -E '^\[  (PASSED|FAILED|SKIPPED) +\] [0-9]+ test|^\[  FAILED  \] ' "$log" || tail -20 "$log"
# The SIMD set's own cases must have run, not been skipped for want of it.
simd_ran=$(grep -c '^\[       OK \] .*WasmSimd128' "$log" || true)
simd_skipped=$(grep -c '^\[  SKIPPED \] .*WasmSimd128' "$log" || true)
echo "WebAssembly SIMD cases: $simd_ran passed, $simd_skipped skipped"
if [ "$simd_ran" -eq 0 ] || [ "$simd_skipped" -ne 0 ]; then
  echo "FAIL the WebAssembly SIMD loops were not tested (see $log)"
  failed=1
fi

echo "== the page against sample-replay"
node tests/web/page_test.mjs build-web "$replay" ${1:+"$1"} || failed=1
echo "== the page's delivery"
node tests/web/delivery_test.mjs build-web "$replay" || failed=1
exit $failed
