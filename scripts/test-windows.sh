#!/usr/bin/env bash
# Runs the Windows build's tests under Wine, headless: the core test suites (ctest runs them
# through Wine; the console's Ctrl-C once more in a pseudo-terminal, which gives Wine a
# console) and veradune-export.exe beside the Linux veradune-export on the bundled
# sample, which must print the same bytes, also from a working folder with a Japanese name
# (the sample has no History.sqlite: --changes and --history read a history without downloads).
# Options are passed on to scripts/build-windows.sh (e.g. --no-setup).
set -euo pipefail
cd "$(dirname "$0")/.."
# Set up first: Xvfb comes with the toolchain.
if [ -z "${VERADUNE_UNDER_XVFB:-}" ] && [[ " $* " != *" --no-setup "* ]]; then
  ./scripts/setup-windows.sh
  set -- --no-setup "$@"
fi
# Wine makes windows, hidden ones included, only on a display: Xvfb when there is none.
if [ -z "${DISPLAY:-}" ] && [ -z "${VERADUNE_UNDER_XVFB:-}" ]; then
  VERADUNE_UNDER_XVFB=1 exec xvfb-run -a ./scripts/test-windows.sh "$@"
fi
root=$(pwd)
build_dir=${BUILD_DIR:-build-win}
export VERADUNE_WINDOWS_CACHE=${VERADUNE_WINDOWS_CACHE:-$HOME/.cache/veradune-windows}
BUILD_DIR=$build_dir ./scripts/build-windows.sh --no-zip "$@"

# A fresh Wine prefix (made in seconds, 700 MB: not worth keeping); no Mono or Gecko installers,
# no debug chatter.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
export LANG=C.UTF-8  # Wine reads the command line's bytes as the locale's
# With Qt the programs link the C++ runtime's DLLs, which lie beside the cross compiler.
runtime_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="Z:$runtime_dir;Z:/usr/x86_64-w64-mingw32/lib"
wineboot -i >/dev/null 2>&1

start=$SECONDS
status=0
ctest --test-dir "$build_dir" -j"${JOBS:-2}" --timeout 300 --output-on-failure || status=1
# Wine's console draws every character with cursor moves: compare without them and blanks.
script -qec "wine $build_dir/tests/platform_tests.exe --gtest_filter=*CtrlC* --gtest_color=no" \
  /dev/null 2>&1 | sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g' | tr -d ' ' >"$build_dir/ctrl-c.log" || true
grep -aq '\[OK\]TerminationWatch.CtrlC' "$build_dir/ctrl-c.log" ||
  { echo "Ctrl-C in a console did not reach the program:" >&2; cat "$build_dir/ctrl-c.log" >&2; status=1; }
echo "Windows test suites under Wine: $((SECONDS - start)) s" >&2

# The Linux export, built alone in a folder of its own.
host_dir=$build_dir/linux-tools
cmake -S . -B "$host_dir" -DCMAKE_BUILD_TYPE=Release -DVERADUNE_GUI=OFF -DVERADUNE_BUILD_TESTS=OFF \
  -DVERADUNE_BUILD_BENCH=OFF >/dev/null
nice -n 15 cmake --build "$host_dir" -j"${JOBS:-2}" --target veradune-export >/dev/null

japanese=$scratch/航海日誌の作業フォルダ
cp -r sample "$japanese"
compared=0
while IFS= read -r arguments; do
  for folder in "$root/sample" "$japanese"; do
    eval "set -- $arguments"
    "$host_dir/tools/veradune-export" "$@" "$root/sample" >"$scratch/linux.out" 2>"$scratch/linux.err" &&
      linux_code=0 || linux_code=$?
    wine "$build_dir/tools/veradune-export.exe" "$@" "$folder" >"$scratch/win.out" 2>"$scratch/win.err" &&
      win_code=0 || win_code=$?
    compared=$((compared + 1))
    if [ $linux_code != $win_code ] || ! cmp -s "$scratch/linux.out" "$scratch/win.out" ||
      ! cmp -s "$scratch/linux.err" "$scratch/win.err"; then
      echo "veradune-export differs on Windows: $arguments ${folder##*/} (exit $linux_code / $win_code)" >&2
      cmp "$scratch/linux.out" "$scratch/win.out" >&2 || true
      diff "$scratch/linux.err" "$scratch/win.err" >&2 || true
      status=1
    fi
  done
done <<'EOF'

--format csv
--cheapest
--name 剣 --format csv
--category 交易品（全て） --price 80000 --price-cond at-least
--stock 10 --stock-cond at-most --cheapest
--changes --format csv
--history 魚醤
EOF
echo "veradune-export compared on $compared runs" >&2

# The desktop program, when Qt was there to build it: it starts on the saved pages of a folder
# named in Japanese and saves its settings when Windows asks it to close (as at log-off or from
# the task manager).
if [ -f "$build_dir/src/veradune.exe" ]; then
  export WINEPATH="$WINEPATH;Z:$(./scripts/windows-qt.sh --print-if-built | tail -n1)/bin"
  (cd "$japanese" && exec timeout 120 wine "$root/$build_dir/src/veradune.exe" >/dev/null 2>&1) &
  sleep 15  # started, the list read
  for _ in $(seq 30); do
    wine taskkill /im veradune.exe >/dev/null 2>&1 && break
    sleep 2
  done
  wait $! || true
  if [ -f "$japanese/Config.xml" ] && grep -q '<veradune' "$japanese/Config.xml"; then
    echo "veradune.exe started and saved its settings on a close request" >&2
  else
    echo "veradune.exe did not save its settings on a close request" >&2
    status=1
  fi
  # Its first start in a fresh folder: the download from the stand-in portal, then the list.
  ./scripts/screenshots-windows.sh "$scratch/first-start.png" || status=1
fi
exit $status
