#!/usr/bin/env bash
# Checks the package scripts/package-deb.sh made, unpacked into a throwaway root: its fields,
# files and menu entry, and that the installed programs work as the build tree's (BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-deb.sh: $*" >&2; exit 1; }
version=$(sed -n 's/^project(Veradune VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/veradune_${version}_amd64.deb
built_export="${BUILD_DIR:-build}/tools/veradune-export"
[ -f "$deb" ] && [ -x "$built_export" ] || fail "run scripts/build.sh and scripts/package-deb.sh first"
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
expected="usr/bin/veradune usr/bin/veradune-export usr/share/applications/veradune.desktop "
for size in 128 256 32 64; do
  icon=usr/share/icons/hicolor/${size}x$size/apps/veradune.png && expected+="$icon "
  file "$root/$icon" | grep -q "PNG image data, $size x $size," || fail "no $size-pixel icon"
done
files=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "$expected" ] || fail "the package holds: $files"
entry="$root/usr/share/applications/veradune.desktop"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate --no-hints "$entry"; fi
diff <("$built_export" sample 2>&1) <("$root/usr/bin/veradune-export" sample 2>&1) >/dev/null ||
  fail "the installed veradune-export lists the sample differently"
# The program's own options told from Qt's; then the menu's command as a launcher runs it.
export QT_QPA_PLATFORM=offscreen PATH="$root/usr/bin:$PATH"
for usage in "2 --bogus" "2 --workdir" "0 -platform offscreen --help"; do
  read -ra arguments <<<"${usage#* }"
  status=0 && veradune "${arguments[@]}" >/dev/null 2>&1 || status=$?
  [ "$status" = "${usage%% *}" ] || fail "veradune ${usage#* } ended with $status"
done
read -ra command <<<"$(sed -n 's/^Exec=//p' "$entry")"
folder="$root/home/.local/share/veradune"
(cd "$root" && exec env -u XDG_DATA_HOME HOME="$root/home" "${command[@]}" >/dev/null 2>&1) &
for _ in $(seq 300); do [ -d "$folder" ] || ! kill -0 $! 2>/dev/null && break; sleep 0.1; done
kill -TERM $! 2>/dev/null || fail "'${command[*]}' ended at once"
wait $! || true
[ "$(stat -c %a "$folder" 2>/dev/null)" = 700 ] || fail "'${command[*]}' made no private $folder"
echo "check-deb.sh: $deb is fine"
