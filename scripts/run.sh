#!/usr/bin/env bash
# Sets up, builds and runs the desktop program against the stand-in portal.
#
#   scripts/run.sh                  a fresh working folder work/run-YYYYmmdd-HHMMSS: the
#                                   program starts with its first download
#   scripts/run.sh --workdir DIR    an existing working folder
#   --no-setup                      skips scripts/setup.sh (the packages are there)
#
# The stand-in portal runs in the background on the loopback address the build
# fetches from (VERADUNE_PORTAL_HOST, 127.0.0.1:8642 unless the build was told
# otherwise) and stops when the program ends. Without a display the program runs
# under xvfb-run. BUILD_DIR picks the build folder (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

usage() {
  echo "usage: scripts/run.sh [--workdir DIR] [--no-setup]" >&2
  exit 2
}

workdir=
setup=1
while [ $# -gt 0 ]; do
  case "$1" in
    --workdir)
      [ $# -ge 2 ] || usage
      workdir=$2
      shift 2
      ;;
    --no-setup)
      setup=0
      shift
      ;;
    *) usage ;;
  esac
done
if [ -n "$workdir" ]; then
  if [ ! -d "$workdir" ]; then
    echo "run.sh: no folder $workdir" >&2
    exit 2
  fi
  workdir="$(cd "$workdir" && pwd)"
fi

if [ "$setup" = 1 ]; then scripts/setup.sh; fi
scripts/build.sh
build="${BUILD_DIR:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
program="$build/src/veradune"
portal="$build/tools/veradune-portal"

# The host is baked into the program; a stand-in is only started for a loopback one.
host=$(sed -n 's/^VERADUNE_PORTAL_HOST:STRING=//p' "$build/CMakeCache.txt")
portal_pid=
stop_portal() {
  if [ -n "$portal_pid" ]; then
    kill -TERM "$portal_pid" 2>/dev/null || true
    wait "$portal_pid" 2>/dev/null || true
    portal_pid=
  fi
}
trap stop_portal EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [[ "$host" =~ ^(127\.0\.0\.1|localhost):([0-9]+)$ ]]; then
  port=${BASH_REMATCH[2]}
  # A proxy from the environment cannot reach this machine's stand-in.
  export no_proxy="${no_proxy:+$no_proxy,}${BASH_REMATCH[1]}"
  portal_log="$(mktemp)"
  "$portal" --port "$port" --seed 1 --shops 300 >"$portal_log" 2>&1 &
  portal_pid=$!
  for _ in $(seq 300); do
    grep -q "listening on" "$portal_log" && break
    if ! kill -0 "$portal_pid" 2>/dev/null; then
      portal_pid=
      cat "$portal_log" >&2
      rm -f "$portal_log"
      echo "run.sh: the stand-in portal did not start (is port $port taken?)" >&2
      exit 1
    fi
    sleep 0.1
  done
  if ! grep -q "listening on" "$portal_log"; then
    rm -f "$portal_log"
    echo "run.sh: the stand-in portal did not answer in time" >&2
    exit 1
  fi
  echo "Stand-in portal: $(grep "listening on" "$portal_log")"
  rm -f "$portal_log"
else
  echo "The build fetches from $host: no stand-in portal started."
fi

if [ -z "$workdir" ]; then
  workdir="$root/work/run-$(date +%Y%m%d-%H%M%S)"
  mkdir -p "$workdir"
  echo "Fresh working folder: $workdir (first start: the download settings come first)"
else
  echo "Working folder: $workdir"
fi

status=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running veradune under xvfb-run, where it cannot be seen."
  # The display and its key are printed so that screenshots or xdotool can reach it.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'echo "veradune is on display $DISPLAY (XAUTHORITY=$XAUTHORITY)"; exec "$0" "$@"' \
    "$program" --workdir "$workdir" || status=$?
else
  "$program" --workdir "$workdir" || status=$?
fi
exit "$status"
