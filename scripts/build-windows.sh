#!/usr/bin/env bash
# Cross-builds Veradune for 64-bit Windows into build-win/ (or BUILD_DIR) and packs
# dist/veradune-VERSION-win64.zip. The libraries come from Debian's source packages, built once
# into ${VERADUNE_WINDOWS_CACHE:-$HOME/.cache/veradune-windows}; Qt too with --with-qt (about
# 27 minutes of two cores the first time). Without a Windows Qt in the cache the zip holds only
# veradune-export.exe, and the script says so.
#   --no-setup   skip installing the cross compilers and Wine (scripts/setup-windows.sh)
#   --with-qt    build Qt for Windows first when the cache has none
#   --without-qt build without the desktop program even when the cache has a Windows Qt
#   --no-zip     build only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
setup=1 with_qt=0 without_qt=0 zip=1
for arg in "$@"; do
  case $arg in
    --no-setup) setup=0 ;;
    --with-qt) with_qt=1 ;;
    --without-qt) without_qt=1 ;;
    --no-zip) zip=0 ;;
    *) echo "usage: $0 [--no-setup] [--with-qt|--without-qt] [--no-zip]" >&2; exit 2 ;;
  esac
done
[ $setup = 1 ] && ./scripts/setup-windows.sh
export VERADUNE_WINDOWS_CACHE=${VERADUNE_WINDOWS_CACHE:-$HOME/.cache/veradune-windows}
build_dir=${BUILD_DIR:-build-win}

prefixes=$(./scripts/windows-deps.sh | tail -n1)
qt_prefix=
if [ $with_qt = 1 ]; then
  qt_prefix=$(./scripts/windows-qt.sh | tail -n1)
elif [ $without_qt = 1 ]; then
  qt_prefix=
else
  qt_prefix=$(./scripts/windows-qt.sh --print-if-built | tail -n1)
fi

gui=OFF
link_flags=-static  # one file per program, no runtime DLLs
if [ -n "$qt_prefix" ]; then
  gui=ON
  prefixes="$prefixes;$qt_prefix"
  link_flags=  # Qt's DLLs share the C++ runtime's DLLs with the program
fi

start=$SECONDS
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVERADUNE_WINDOWS_PREFIXES="$prefixes" -DCMAKE_BUILD_TYPE=Release -DVERADUNE_GUI=$gui \
  -DVERADUNE_BUILD_BENCH=OFF -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_EXE_LINKER_FLAGS="$link_flags" >/dev/null
nice -n 15 cmake --build "$build_dir" -j"${JOBS:-2}"
echo "built the Windows programs in $((SECONDS - start)) s" >&2
[ $zip = 1 ] || exit 0

version=$(sed -n 's/^project(Veradune VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
package=$stage/veradune-$version-win64
mkdir -p "$package"
cp "$build_dir/tools/veradune-export.exe" "$package/"
if [ -n "$qt_prefix" ]; then
  cp "$build_dir/src/veradune.exe" "$package/"
  mingw_gcc=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
  cp "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$package/"
  for module in Core Gui Widgets; do cp "$qt_prefix/bin/Qt6$module.dll" "$package/"; done
  mkdir -p "$package/platforms" "$package/styles"
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$package/platforms/"
  cp "$qt_prefix"/plugins/styles/*.dll "$package/styles/"
else
  echo "no Windows Qt in the cache (--with-qt builds it): the zip holds veradune-export.exe alone" >&2
fi
find "$package" -name "*.exe" -o -name "*.dll" | xargs x86_64-w64-mingw32-strip --strip-unneeded
mkdir -p dist
zip_path=$root/dist/veradune-$version-win64.zip
rm -f "$zip_path"
(cd "$stage" && zip -qr "$zip_path" "veradune-$version-win64")
echo "$zip_path ($(du -h "$zip_path" | cut -f1))" >&2
