#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those that
# are missing), then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config python3
  clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libxext-dev libwayland-dev libfreetype-dev libfontconfig-dev libpng-dev libwebp-dev libgtest-dev
  fonts-ipafont-gothic
  xvfb xdotool imagemagick x11-utils openbox libxss1
  sway swayidle weston grim wtype
)

source scripts/install_missing.sh
install_missing "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSAMPLE_FUZZ=ON
cmake --build build -j"$(nproc)"
