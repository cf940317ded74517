#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those that
# are missing), then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config python3
  clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libfreetype-dev libfontconfig-dev libpng-dev libgtest-dev
  fonts-ipafont-gothic
  xvfb xdotool imagemagick x11-utils openbox
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSAMPLE_FUZZ=ON
cmake --build build -j"$(nproc)"
