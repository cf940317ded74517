#!/usr/bin/env bash
# Builds the page: the program, platform/ and the browser host as
# WebAssembly, with Debian's emscripten, into build-web/ (or BUILD_DIR):
# index.html, sample.js, sample.wasm (with the font, cut to the program's
# characters), the pictures, the web app manifest with its icons and the
# service worker at its root, ready for any web server:
#
#   scripts/web-build.sh [BUILD_DIR]
#   cd build-web && python3 -m http.server 8000    # then open http://127.0.0.1:8000/
#
# Installs what is missing first. FreeType, zlib and libpng are built from
# Debian's source packages, fetched once into BUILD_DIR/sources through an
# apt configuration of the script's own (scripts/web/fetch-sources.sh). A
# second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/install_missing.sh
# dpkg-dev unpacks the source packages; zlib1g-dev is for the picture
# generator, which runs on this machine; python3-fonttools cuts the font;
# googletest is built for the pixel loops' tests under Node.
install_missing build-essential cmake python3 dpkg-dev zlib1g-dev emscripten fonts-ipafont-gothic python3-fonttools \
  googletest

build=${1:-build-web}
mkdir -p "$build"
build=$(cd "$build" && pwd)
scripts/web/fetch-sources.sh "$build/sources" freetype zlib libpng1.6

# emcmake would set a cross-compiling emulator that Node 20 rejects: the
# toolchain file is given as it is, with no emulator.
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
export NODE_PATH=/usr/share/nodejs
cmake -S web -B "$build/build" --toolchain "$toolchain" -DCMAKE_CROSSCOMPILING_EMULATOR= \
  -DCMAKE_BUILD_TYPE=Release -DSAMPLE_LIBRARY_SOURCES="$build/sources" -DPAGE_DIR="$build" > "$build/configure.log" \
  || { cat "$build/configure.log"; exit 1; }
cmake --build "$build/build" -j"$(nproc)"
echo "The page: $build/index.html ($(cd "$build" && ls index.html sample.js sample.wasm *.bmp manifest.webmanifest icon-*.png service-worker.js | tr '\n' ' '))"
