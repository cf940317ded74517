#!/usr/bin/env bash
# Builds sample.exe (scripts/windows-build.sh), checks that it needs no DLL
# beyond Windows' own and the resources windres put into it, and runs it
# under Wine in Xvfb against the Linux build's pictures of the same frames
# (tests/windows/wine.sh). Installs Wine (32-bit, with the i386
# architecture), the X tools and the Japanese locale first if they are
# missing. Needs the Linux build (default build/, made by ./test.sh; another
# folder as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

foreign=$(dpkg --print-foreign-architectures)
grep -qx i386 <<<"$foreign" || {
  echo "Adding the i386 architecture for wine32"
  $sudo dpkg --add-architecture i386
  apt_update_needed=yes
}

packages=(wine wine32:i386 xvfb xdotool imagemagick x11-utils locales python3)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${apt_update_needed:-}" ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# A Japanese Windows runs with code page 932; Wine takes it from the locale.
locales=$(locale -a)
grep -qix 'ja_JP.utf8' <<<"$locales" || $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8

native=${1:-build}
[ -x "$native/run/sample-replay" ] || { echo "$native/run/sample-replay is missing: run ./test.sh first" >&2; exit 1; }

scripts/windows-build.sh build-win32
bash tests/windows/imports.sh i686-w64-mingw32-objdump build-win32/sample/sample.exe
python3 tests/windows/resources.py i686-w64-mingw32-windres build-win32/sample/sample.exe resources/sample.rc
timeout 900 bash tests/windows/wine.sh build-win32/sample "$native/run"
