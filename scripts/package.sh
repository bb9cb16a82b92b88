#!/usr/bin/env bash
# Builds the Debian package of the configurator into build/package/
# (tq3-konfigurator_VERSION-REVISION_ARCH.deb): a Release build of the two
# programs installed under /usr, stripped, with Debian's hardening flags, in
# build/package-build; the tests are not built. Extra arguments go to the
# configure step, e.g. -DTQ3_PACKAGE_EXTRA_DEPENDS=some-package.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022
scripts/install-deps.sh

build=build/package-build
out=build/package

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# The release's date, not the build's, in every time stamp that records one.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l packaging/changelog -S Timestamp)
export SOURCE_DATE_EPOCH

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel 2 --target tq3_installed

rm -rf "$build/cpack" "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$PWD/cpack")
mv "$build"/cpack/*.deb "$out"/
ls -l "$out"/*.deb
