#!/usr/bin/env bash
# The page's test, run by CI after ./test.sh: builds the page with
# scripts/web-build.sh, then opens it in headless Chromium and compares it
# with the frames of the desktop build's sample-replay (build/run, which
# ./test.sh makes), pixel for pixel (tests/web/page_test.mjs). Installs
# Chromium and Node.js first where they are missing.
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
node tests/web/page_test.mjs build-web "$replay" ${1:+"$1"}
