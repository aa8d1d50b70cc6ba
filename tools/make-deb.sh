#!/usr/bin/env bash
# Makes the Debian package in BUILD_DIR (created when missing) and prints its path: a Release build
# of its own with Debian's hardening flags and spritehex-cli linked dynamically (against the
# system's libpng and zlib), then CPack. The compiler's lines go to BUILD_DIR/deb.log, shown when
# the build fails.
#
# Reproducible: SOURCE_DATE_EPOCH (default: the date of the newest entry of
# packaging/debian/changelog) gives every time in the package, and the folders of the source and
# of the build are mapped to fixed names in whatever the compiler writes, so two builds in
# different folders make the same bytes.
#
#   tools/make-deb.sh BUILD_DIR [JOBS]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
build=$(cd "$1" && pwd)
jobs=${2:-$(nproc)}
log=$build/deb.log

changelog=$src/packaging/debian/changelog
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$changelog" -STimestamp)}
# Debian's flags with every hardening feature; the optimisation is the Release build's (-O3), and
# no debug information is made, since the package holds stripped programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
flags() { (cd "$src" && dpkg-buildflags --get "$1"); }
# dpkg-buildflags maps the source folder to "."; a build folder outside it gets a name of its own.
cxxflags="$(flags CPPFLAGS) $(flags CXXFLAGS) -ffile-prefix-map=$build=build"

{
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DSPRITEHEX_STATIC_CLI=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)" &&
    cmake --build "$build" -j "$jobs" --target spritehex_installed &&
    (cd "$build" && cpack -G DEB)
} >"$log" 2>&1 || { cat "$log" >&2; echo "make-deb: the package could not be made" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
ls "$build/spritehex_${version}_$(dpkg --print-architecture).deb"
