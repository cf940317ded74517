#!/usr/bin/env bash
# Builds sample.exe, the program as a 32-bit Windows executable (mingw-w64),
# and gathers it with its six pictures in build-win32/sample/: copy that
# folder to a Windows machine and start sample.exe there.
# Installs the cross compiler first if it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake g++-mingw-w64-i686 binutils-mingw-w64-i686)

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

build=${1:-build-win32}
cmake -S windows -B "$build" --toolchain "$PWD/cmake/mingw-i686.cmake"
cmake --build "$build" -j"$(nproc)"
echo "Ready to copy: $build/sample/ ($(cd "$build/sample" && echo *))"
