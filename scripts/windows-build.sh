#!/usr/bin/env bash
# Builds sample.exe, the program as a Windows executable (mingw-w64), and
# gathers it with its six pictures in one folder: copy that folder to a
# Windows machine and start sample.exe there. Installs the cross compiler
# first if it is missing.
#
#   scripts/windows-build.sh [win32|win64] [BUILD_DIR]
#
# win32 (the default) is the 32-bit program, in build-win32/sample/; it runs
# on every Windows. win64 is the same sources as a 64-bit program, in
# build-win64/sample/.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=win32
case "${1:-}" in
win32 | win64)
  arch=$1
  shift
  ;;
esac
case $arch in
win32) triplet=i686-w64-mingw32 toolchain=mingw-i686 compiler=g++-mingw-w64-i686 binutils=binutils-mingw-w64-i686 ;;
win64) triplet=x86_64-w64-mingw32 toolchain=mingw-x86_64 compiler=g++-mingw-w64-x86-64 binutils=binutils-mingw-w64-x86-64 ;;
esac

source scripts/install_missing.sh
# zlib: the picture generator also writes the icon theme's PNG files.
install_missing build-essential cmake zlib1g-dev "$compiler" "$binutils"

build=${1:-build-$arch}
cmake -S windows -B "$build" --toolchain "$PWD/cmake/$toolchain.cmake"
cmake --build "$build" -j"$(nproc)"
command -v "$triplet-objdump" >/dev/null
echo "Ready to copy: $build/sample/ ($(cd "$build/sample" && echo *))"
