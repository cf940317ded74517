#!/bin/sh
# Draws the README's screenshots and animations with sample-replay from
# docs/screenshots.script and docs/animations.script.
#   scripts/screenshots.sh [BUILD_RUN_DIR] [OUTPUT_DIR]
# Defaults: build/run and docs/screenshots.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
run_dir=$(cd "${1:-$here/build/run}" && pwd)
out_dir=${2:-$here/docs/screenshots}
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for picture in bg01 bg02 ch01 koke mul chn; do
  ln -s "$run_dir/$picture.bmp" "$work/$picture.bmp"
done
for script in screenshots animations; do
  (cd "$work" && "$run_dir/sample-replay" "$here/docs/$script.script")
done
mv "$work"/*.png "$work"/*.webp "$out_dir"/
echo "screenshots and animations in $out_dir"
