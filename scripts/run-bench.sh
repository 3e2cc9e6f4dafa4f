#!/usr/bin/env bash
# Runs every benchmark program and prints its numbers.
set -euo pipefail
dir=$1
found=0
for bin in "$dir"/bench/bench_*; do
  [ -x "$bin" ] || continue
  found=1
  echo "== $(basename "$bin")"
  (cd "$dir" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$OLDPWD/$bin")
done
[ $found -eq 1 ] || echo "no benchmarks built"
