#!/usr/bin/env bash
# Builds sample.exe, the program as a 32-bit Windows executable (mingw-w64),
# and gathers it with its six pictures in build-win32/sample/: copy that
# folder to a Windows machine and start sample.exe there.
# Installs the cross compiler first if it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

# zlib: the picture generator also writes the icon theme's PNG files.
packages=(build-essential cmake zlib1g-dev g++-mingw-w64-i686 binutils-mingw-w64-i686)

source scripts/install_missing.sh
install_missing "${packages[@]}"

build=${1:-build-win32}
cmake -S windows -B "$build" --toolchain "$PWD/cmake/mingw-i686.cmake"
cmake --build "$build" -j"$(nproc)"
echo "Ready to copy: $build/sample/ ($(cd "$build/sample" && echo *))"
