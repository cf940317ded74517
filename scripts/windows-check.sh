#!/usr/bin/env bash
# Builds sample.exe as a 32-bit and as a 64-bit Windows program
# (scripts/windows-build.sh), checks of each that it needs no DLL beyond
# Windows' own and holds the resources windres put into it, then runs one of
# them under Wine in Xvfb against the Linux build's pictures of the same
# frames (tests/windows/wine.sh): the 32-bit one where this machine executes
# 32-bit x86 code, otherwise the 64-bit one under 64-bit Wine. Installs Wine,
# the X tools and the Japanese locale first if they are missing. Needs the
# Linux build (default build/, made by ./test.sh).
#
#   scripts/windows-check.sh [--arch win32|win64] [BUILD_DIR]
#
# --arch runs the Wine check with that program whatever the probe says.
set -euo pipefail
cd "$(dirname "$0")/.."

arch=
if [[ "${1:-}" == --arch ]]; then
  arch=${2:?--arch takes win32 or win64}
  [[ "$arch" == win32 || "$arch" == win64 ]] || { echo "--arch takes win32 or win64, not $arch" >&2; exit 2; }
  shift 2
fi
native=${1:-build}
[ -x "$native/run/sample-replay" ] || { echo "$native/run/sample-replay is missing: run ./test.sh first" >&2; exit 1; }

if [[ -z "$arch" ]]; then
  if probe=$(python3 tests/windows/can_run_i386.py); then
    arch=win32
    echo "Wine check with the 32-bit sample.exe: this machine executes 32-bit x86 code."
  else
    arch=win64
    echo "Wine check with the 64-bit sample.exe: this machine cannot execute 32-bit x86 code ($probe)."
  fi
else
  echo "Wine check with the ${arch#win}-bit sample.exe, as asked."
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
source scripts/install_missing.sh
if [[ "$arch" == win32 ]]; then
  # 32-bit Wine comes from the i386 architecture.
  if ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    echo "Adding the i386 architecture for wine32"
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
  fi
  install_missing wine wine32:i386
else
  install_missing wine wine64
fi
install_missing xvfb xdotool imagemagick x11-utils locales python3

# A Japanese Windows runs with code page 932; Wine takes it from the locale.
locales=$(locale -a)
grep -qix 'ja_JP.utf8' <<<"$locales" || $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8

# Both programs are built and checked; only running one needs Wine.
for built in win32 win64; do
  triplet=i686-w64-mingw32
  [[ "$built" == win64 ]] && triplet=x86_64-w64-mingw32
  scripts/windows-build.sh "$built" "build-$built"
  bash tests/windows/imports.sh "$triplet-objdump" "build-$built/sample/sample.exe"
  python3 tests/windows/resources.py "$triplet-windres" "build-$built/sample/sample.exe" resources/sample.rc
done
timeout 900 bash tests/windows/wine.sh "$arch" "build-$arch/sample" "$native/run"
echo "Windows check passed: both programs built with their imports and resources checked;" \
  "the ${arch#win}-bit one ran under Wine."
