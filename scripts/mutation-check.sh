#!/usr/bin/env bash
# Mutation check: puts each fault of a list (scripts/mutations.txt) into a scratch
# copy of the sources, one at a time, rebuilds and runs the whole test suite. A
# fault that no test notices (SURVIVED) marks behaviour the suite leaves open.
#
#   scripts/mutation-check.sh [--only ID[,ID...]] [--list FILE] [--check]
#
# --check only verifies that every fault's anchor applies; nothing is built.
# The copy and its build live in build-mutation/ and are reused, so a second run
# rebuilds only what changed. Results go to build-mutation/results.tsv, the
# output of each fault to build-mutation/logs/ID.log.
# Exit status: 0 when every fault applied (survivors are findings, not errors),
# 1 when a fault does not apply (NOT-APPLICABLE: fix the list), 2 when the
# unchanged sources do not build or pass, 3 on a usage error.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/build-mutation
copy=$work/src-copy
build=$work/build
list=$root/scripts/mutations.txt
only=""
check_only=0

while (($#)); do
  case $1 in
    --only) only=${2:?--only needs ID[,ID...]}; shift 2 ;;
    --list) list=${2:?--list needs FILE}; shift 2 ;;
    --check) check_only=1; shift ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "mutation-check: unknown argument $1" >&2; exit 3 ;;
  esac
done
[[ -r $list ]] || { echo "mutation-check: cannot read $list" >&2; exit 3; }

mkdir -p "$copy" "$work/logs"

# Brings the copy in line with the working tree, uncommitted and untracked (not
# ignored) files included. Only files whose bytes differ are copied, with a fresh
# time stamp, so the build stays incremental and a fault left behind by an
# interrupted run is undone here.
sync_copy() {
  (cd "$root" && git ls-files -co --exclude-standard) | sort -u >"$work/files.txt"
  local f
  while IFS= read -r f; do
    [[ -f $root/$f ]] || continue  # deleted in the working tree
    if ! cmp -s "$root/$f" "$copy/$f"; then
      mkdir -p "$(dirname "$copy/$f")"
      cp "$root/$f" "$copy/$f"
    fi
  done <"$work/files.txt"
  # Files gone from the tree go from the copy too.
  (cd "$copy" && find . -type f -printf '%P\n') | sort | comm -23 - "$work/files.txt" |
    while IFS= read -r f; do rm -f "$copy/$f"; done
}

# The one source file with this base name (or this end of its path, such as
# posix/Files.cpp, where one system's side shares a name with the other's); the
# list names files without their folders so that it survives files moving.
locate() {
  local found
  found=$(cd "$copy" && find src tools bench -type f -path "*/$1" 2>/dev/null)
  [[ -n $found && $(wc -l <<<"$found") -eq 1 ]] && echo "$found"
}

# Undoes the fault in `current` (a path relative to the copy) from the tree.
current=""
restore() {
  if [[ -n $current ]]; then
    cp "$root/$current" "$copy/$current" && touch "$copy/$current"
    current=""
  fi
}
trap 'restore; echo; echo "mutation-check: interrupted" >&2; exit 130' INT TERM

# Replaces the one occurrence of FIND in the file by REPL; fails (changing
# nothing) unless FIND occurs exactly once. Perl takes both texts literally.
apply_fault() {
  FIND=$2 REPL=$3 perl -0777 -i -pe '
    my $n = () = /\Q$ENV{FIND}\E/g;
    if ($n != 1) { print STDERR "found $n times\n"; $bad = 1; next; }
    s/\Q$ENV{FIND}\E/$ENV{REPL}/;
    END { exit($bad ? 1 : 0) }' "$1"
}

sync_copy

# Faults to run: id, file, find, replace, description; # lines are comments.
ids=() files=() finds=() repls=() descs=()
# Tabs are white space to `read`, which would merge the two around an empty
# replacement; a unit separator is not.
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  IFS=$'\x1f' read -r id file find repl desc <<<"${line//$'\t'/$'\x1f'}"
  if [[ -n $only && ",$only," != *",$id,"* ]]; then continue; fi
  ids+=("$id") files+=("$file") finds+=("$find") repls+=("$repl") descs+=("$desc")
done <"$list"
((${#ids[@]})) || { echo "mutation-check: no fault selected" >&2; exit 3; }

# Anchors first: a list that does not apply is reported before an hour of builds.
not_applicable=0
declare -A paths
for i in "${!ids[@]}"; do
  path=$(locate "${files[i]}")
  if [[ -z $path ]]; then
    echo "NOT-APPLICABLE ${ids[i]}: no single file named ${files[i]}" >&2
    not_applicable=1
    continue
  fi
  paths[${ids[i]}]=$path
  cp "$copy/$path" "$work/probe"
  if ! apply_fault "$work/probe" "${finds[i]}" "${repls[i]}" 2>"$work/probe.err"; then
    echo "NOT-APPLICABLE ${ids[i]}: anchor in $path $(cat "$work/probe.err")" >&2
    not_applicable=1
  fi
done
rm -f "$work/probe" "$work/probe.err"
if ((check_only)); then
  ((not_applicable)) || echo "mutation-check: all ${#ids[@]} anchors apply"
  exit "$not_applicable"
fi

# Tests are discovered when ctest runs, not after each link: a fault that crashes
# a test program at start then counts as caught, not as a failed build.
run_start=$SECONDS
if [[ ! -f $build/CMakeCache.txt ]] && command -v ninja >/dev/null; then generator=(-G Ninja); else generator=(); fi
echo "mutation-check: building and testing the unchanged sources in $build"
if ! cmake -S "$copy" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
      -DVERADUNE_BUILD_BENCH=OFF -DVERADUNE_BUILD_TESTS=ON -DVERADUNE_GUI=ON \
      -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >"$work/logs/baseline.log" 2>&1 ||
   ! cmake --build "$build" -j2 >>"$work/logs/baseline.log" 2>&1; then
  echo "mutation-check: the unchanged sources do not build; see $work/logs/baseline.log" >&2
  exit 2
fi
if ! ctest --test-dir "$build" -j2 --timeout 120 --output-on-failure >>"$work/logs/baseline.log" 2>&1; then
  echo "mutation-check: the suite fails without any fault; see $work/logs/baseline.log" >&2
  exit 2
fi
echo "mutation-check: baseline passes ($((SECONDS - run_start)) s)"

# This run's results; merged into results.tsv at the end, so that a run with
# --only updates its faults' rows and keeps the others.
fresh=$work/results-run.tsv
: >"$fresh"
for i in "${!ids[@]}"; do
  id=${ids[i]}
  path=${paths[$id]:-}
  if [[ -z $path ]]; then
    printf '%s\t%s\tNOT-APPLICABLE\t0\t%s\n' "$id" "${files[i]}" "${descs[i]}" >>"$fresh"
    continue
  fi
  log=$work/logs/$id.log
  start=$SECONDS
  current=$path
  cp "$root/$path" "$copy/$path"  # a clean start even after an interrupted run
  apply_fault "$copy/$path" "${finds[i]}" "${repls[i]}"
  touch "$copy/$path"
  if ! cmake --build "$build" -j2 >"$log" 2>&1; then
    result=NO-BUILD
  elif ctest --test-dir "$build" --stop-on-failure -j2 --timeout 120 >>"$log" 2>&1; then
    result=SURVIVED
  else
    result=CAUGHT
  fi
  restore
  printf '%-22s %-9s %4d s  %s\n' "$id" "$result" "$((SECONDS - start))" "$path"
  printf '%s\t%s\t%s\t%s\t%s\n' "$id" "$path" "$result" "$((SECONDS - start))" "${descs[i]}" >>"$fresh"
done

# Rows in the list's order: this run's result, else the previous one.
results=$work/results.tsv
[[ -f $results ]] || : >"$results"
awk -F'\t' -v OFS='\t' '
  FILENAME == ARGV[1] { if ($1 != "id") old[$1] = $0; next }
  FILENAME == ARGV[2] { new[$1] = $0; next }
  $1 == "" || $1 ~ /^#/ { next }
  $1 in new { print new[$1]; next }
  $1 in old { print old[$1] }' "$results" "$fresh" "$list" >"$work/results.tmp"
{ printf 'id\tfile\tresult\tseconds\tdescription\n'; cat "$work/results.tmp"; } >"$results"
rm -f "$work/results.tmp" "$fresh"

echo
awk -F'\t' '{ printf "%-22s %-34s %-14s %7s  %s\n", $1, $2, $3, $4, $5 }' "$results"
echo
awk -F'\t' 'NR > 1 { n[$3]++ }
  END { printf "%d caught, %d survived, %d no-build", n["CAUGHT"], n["SURVIVED"], n["NO-BUILD"]
        if (n["NOT-APPLICABLE"]) printf ", %d not applicable", n["NOT-APPLICABLE"]
        print "" }' "$results"
echo "this run: $((SECONDS - run_start)) s; results in $results"
exit "$not_applicable"
