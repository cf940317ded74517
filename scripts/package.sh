#!/usr/bin/env bash
# Builds the Debian package build-package/sample_VERSION_ARCH.deb and checks
# it with lintian. Install it with
#   sudo apt-get install ./build-package/sample_*.deb
#
# The package is CPack's DEB generator over the project's own install rules
# (packaging/CMakeLists.txt): the layout `cmake --install` makes is the
# layout the package holds, and dpkg-shlibdeps works out the libraries it
# depends on. It is built in a tree of its own, without the tests, with the
# compiler and linker flags Debian builds its packages with.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-package

source scripts/install_missing.sh
install_missing build-essential cmake pkg-config file dpkg-dev lintian \
  libsdl2-dev libx11-dev libxext-dev libwayland-dev libfreetype-dev libfontconfig-dev libpng-dev libwebp-dev

# Hardened as Debian's own packages are: stack protector, fortified calls,
# position-independent code, read-only relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS CXXFLAGS LDFLAGS

# Build type None: only the flags above, as Debian's CMake builds do.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DSAMPLE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/sample_*.deb
(cd "$build" && cpack)
deb=$(ls "$build"/sample_*.deb)

# Errors and warnings fail the build. The package has none, so it carries
# no overrides; what lintian still says is for information.
lintian --fail-on error,warning --display-info "$deb"
echo "package: $deb"
