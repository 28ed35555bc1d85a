#!/usr/bin/env bash
# Regenerates docs/screenshots/*.png: the program's windows during a first start
# against the sample pages, rendered offscreen (no display needed). The pictures
# come out the same on every run. BUILD_DIR picks the build folder (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target veradune-screenshots -j"$(nproc)"
QT_QPA_PLATFORM=offscreen "$build/tools/veradune-screenshots" "$root/docs/screenshots" "$root/sample"
