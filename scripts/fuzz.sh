#!/usr/bin/env bash
# Coverage-guided fuzzing with libFuzzer (clang-14, AddressSanitizer and
# UndefinedBehaviorSanitizer) of the shop and city page parsers, the CP932
# conversion, the Config.xml reader and veradune-export's option parser.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#   scripts/fuzz.sh                       # every target for 60 s
#   scripts/fuzz.sh 3600                  # a longer hunt: an hour per target
#   scripts/fuzz.sh 600 shop_page         # one target for ten minutes
#
# Targets: shop_page city_page text_conversion config_load export_options.
# The build goes to build-fuzz/. Each target runs on its scratch corpus
# build-fuzz/corpus/TARGET/, seeded from tests/fuzz/corpus/TARGET/ and
# tests/fuzz/regressions/TARGET/ (those are only read) and kept between runs, so
# longer and repeated runs build on each other. A crash, a sanitizer report, a
# broken property, a timeout (10 s per input) or more than 2 GB of memory leaves
# the input in build-fuzz/artifacts/TARGET/ and makes the script fail, naming
# target and artifact; the full output is in build-fuzz/logs/TARGET.log.
#
# Turning an artifact into a regression:
#   build-fuzz/tests/fuzz/fuzz_TARGET ARTIFACT        # replay it, with the report
#   build-fuzz/tests/fuzz/fuzz_TARGET -minimize_crash=1 -max_total_time=60 \
#     -exact_artifact_path=/tmp/min ARTIFACT           # optional: a smaller input
#   fix the code, then keep the input as tests/fuzz/regressions/TARGET/WHAT-IT-BROKE;
#   fuzz_replay_tests, part of every test run, replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]" >&2
  exit 2
fi
shift $(($# > 0 ? 1 : 0))
all_targets=(shop_page city_page text_conversion config_load export_options)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=("${all_targets[@]}"); fi

# Longest input per target: pages up to a few hundred KB, settings files and
# command lines far less.
max_len() {
  case $1 in
    shop_page) echo 262144 ;;
    city_page) echo 65536 ;;
    text_conversion) echo 4096 ;;
    config_load) echo 32768 ;;
    export_options) echo 1024 ;;
    *) echo "scripts/fuzz.sh: unknown target $1 (known: ${all_targets[*]})" >&2; return 1 ;;
  esac
}
for target in "${targets[@]}"; do max_len "$target" >/dev/null; done

build=build-fuzz
mkdir -p "$build"
# Runs started side by side (a target each) share the build: one builds, the others wait.
(
  flock 9
  CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVERADUNE_FUZZ=ON -DVERADUNE_BUILD_TESTS=OFF -DVERADUNE_BUILD_BENCH=OFF \
    -DVERADUNE_GUI=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)" --target fuzz_targets
) 9>"$build/.build-lock"

export ASAN_OPTIONS=detect_leaks=1
# Reports name functions and lines only with the symbolizer of the same LLVM.
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  for seeds in tests/fuzz/corpus/$target tests/fuzz/regressions/$target; do
    if [ -d "$seeds" ]; then cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true; fi
  done
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048
    -max_len="$(max_len "$target")" -artifact_prefix="$artifacts/" -print_final_stats=1)
  if [ -f "tests/fuzz/$target.dict" ]; then options+=(-dict="tests/fuzz/$target.dict"); fi

  echo "== $target: ${seconds}s"
  status=0
  "$build/tests/fuzz/fuzz_$target" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
  # The last status line carries the coverage reached; the final stats the totals.
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$log" | tr '\n' ' ' || true
  echo
  if [ "$status" -ne 0 ]; then
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)
    echo "FAILED: $target (exit $status), artifact: ${artifact:-none}, log: $log" >&2
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "scripts/fuzz.sh: crashes in: ${failed[*]}" >&2
  exit 1
fi
echo "scripts/fuzz.sh: no crash in ${targets[*]}"
