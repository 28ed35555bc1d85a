#!/usr/bin/env bash
# Builds the Debian package dist/veradune_VERSION_amd64.deb: a Release build of the
# two programs a player gets (no tests, benchmarks or development tools) in
# build-deb/, installed under /usr. Arguments go to CMake, for instance
# -DVERADUNE_PORTAL_HOST=host:port for the portal the package should fetch from.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-deb
# Without the install step's dependency on "all", only the installed targets are built.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVERADUNE_BUILD_TESTS=OFF -DVERADUNE_BUILD_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" --target veradune veradune-export
rm -rf "$build/packages"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
mkdir -p dist
deb=$(find "$build/packages" -maxdepth 1 -name 'veradune_*.deb')
cp "$deb" dist/
echo "dist/$(basename "$deb")"
