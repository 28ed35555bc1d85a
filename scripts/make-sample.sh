#!/usr/bin/env bash
# Regenerates the bundled sample working folder sample/: the saved pages of a
# made-up portal (13 cities, 40 shops) and truth.tsv, the product table that
# parsing them must give. The seed is fixed, so the output is always the same.
# BUILD_DIR picks the build folder (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target veradune-pagegen -j2
rm -rf "$root/sample/DownloadFiles" "$root/sample/truth.tsv"
"$build/tools/pagegen/veradune-pagegen" --seed 20240601 --shops 40 --products 30 "$root/sample"
