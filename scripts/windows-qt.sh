#!/usr/bin/env bash
# Cross-builds Qt's Core, Gui and Widgets for 64-bit Windows from Debian's qt6-base source
# package into ${VERADUNE_WINDOWS_CACHE:-$HOME/.cache/veradune-windows}/qt6-base-<version>/,
# once; the host's Qt of the same version supplies moc, rcc and uic. About 27 minutes of two cores.
# Prints the install prefix on the last line of standard output.
#   --print-if-built   build nothing; print the prefix only when it is complete
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cache=${VERADUNE_WINDOWS_CACHE:-$HOME/.cache/veradune-windows}
version=$(apt-get source --print-uris qt6-base 2>/dev/null |
  sed -n "s/^'[^']*' qt6-base_\(.*\)\.dsc .*/\1/p" | head -n1)
[ -n "$version" ] || { echo "no source package qt6-base: run scripts/setup-windows.sh" >&2; exit 1; }
prefix=$cache/qt6-base-$version
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
[ "${1:-}" = --print-if-built ] && exit 0

start=$SECONDS
scratch=$cache/.scratch-qt6-base
rm -rf "$scratch" "$prefix" && mkdir -p "$scratch"
(cd "$scratch" && apt-get source --download-only qt6-base >/dev/null &&
  dpkg-source -x --no-check ./*.dsc tree >/dev/null)
# Only what the program links: no SQL, D-Bus, network, XML, printing, concurrency, test
# library, examples or tests. The source package lacks the Wintab headers, hence no tablet
# events. OpenGL stays, chosen at run time (desktop, or the software fallback).
cmake -S "$scratch/tree" -B "$scratch/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_testlib=OFF \
  -DFEATURE_tabletevent=OFF -DINPUT_opengl=dynamic \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF -DFEATURE_zstd=OFF \
  >"$scratch/configure.log" 2>&1 || { tail -40 "$scratch/configure.log" >&2; exit 1; }
nice -n 15 cmake --build "$scratch/build" -j"${JOBS:-2}" >"$scratch/build.log" 2>&1 ||
  { tail -40 "$scratch/build.log" >&2; exit 1; }
cmake --install "$scratch/build" >/dev/null
rm -rf "$scratch"
echo "$((SECONDS - start)) s" >"$prefix/.complete"
echo "built Qt $version for Windows in $((SECONDS - start)) s ($(du -sh "$prefix" | cut -f1))" >&2
echo "$prefix"
