#!/usr/bin/env bash
# Checks the package scripts/package-deb.sh made, unpacked into a throwaway root:
# its control fields, that it holds what a player needs and nothing else, its menu
# entry, and that the installed programs work: veradune-export lists the sample as
# the build tree's does (BUILD_DIR, default build), the menu entry's command makes
# the data folder, and the program's own options are told from Qt's.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-deb.sh: $*" >&2; exit 1; }
version=$(sed -n 's/^project(Veradune VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/veradune_${version}_amd64.deb
built_export="${BUILD_DIR:-build}/tools/veradune-export"
[ -f "$deb" ] || fail "no $deb: run scripts/package-deb.sh first"
[ -x "$built_export" ] || fail "no $built_export: run scripts/build.sh first"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

for field in Package=veradune Version="$version" Architecture=amd64 Section=games; do
  value=$(dpkg-deb --field "$deb" "${field%%=*}")
  [ "$value" = "${field#*=}" ] || fail "${field%%=*} is '$value', not '${field#*=}'"
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 libxml2; do
  [[ ", $depends," =~ ,\ $package[\ ,] ]] || fail "Depends lacks $package: $depends"
done

expected="usr/bin/veradune usr/bin/veradune-export usr/share/applications/veradune.desktop"
for size in 128 256 32 64; do expected+=" usr/share/icons/hicolor/${size}x$size/apps/veradune.png"; done
files=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "$expected " ] || fail "the package holds: $files"
for size in 32 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/veradune.png" |
    grep -q "PNG image data, $size x $size," || fail "the ${size}x$size icon is not $size by $size"
done
entry="$root/usr/share/applications/veradune.desktop"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate --no-hints "$entry"; fi

diff <("$built_export" sample 2>&1) <("$root/usr/bin/veradune-export" sample 2>&1) >/dev/null ||
  fail "the installed veradune-export lists the sample differently"

export QT_QPA_PLATFORM=offscreen PATH="$root/usr/bin:$PATH"
for usage in "2 --bogus" "2 --workdir" "0 -platform offscreen --help"; do
  status=0
  read -ra arguments <<<"${usage#* }"
  veradune "${arguments[@]}" >/dev/null 2>&1 || status=$?
  [ "$status" = "${usage%% *}" ] || fail "veradune ${usage#* } ended with $status"
done

# The menu's command, without XDG_DATA_HOME: ~/.local/share/veradune, for its owner alone.
read -ra command <<<"$(sed -n 's/^Exec=//p' "$entry")"
mkdir "$root/home"
(cd "$root/home" && exec env -u XDG_DATA_HOME HOME="$root/home" "${command[@]}" >/dev/null 2>&1) &
program=$!
folder="$root/home/.local/share/veradune"
for _ in $(seq 300); do [ -d "$folder" ] || ! kill -0 "$program" 2>/dev/null && break; sleep 0.1; done
kill -0 "$program" 2>/dev/null || fail "'${command[*]}' ended at once"
kill -TERM "$program"
wait "$program" || true
[ "$(stat -c %a "$folder" 2>/dev/null)" = 700 ] || fail "'${command[*]}' made no private $folder"
echo "check-deb.sh: $deb is fine"
