#!/usr/bin/env bash
# Runs every benchmark program and prints its numbers. With BENCH_WINDOWED=1 and an X display
# (DISPLAY set; an Xvfb of 1280x800 will do), only the screens in a real window instead, once per
# renderer (the game's pick, opengl, software).
set -euo pipefail
# Absolute, so each program is found again from inside the build folder, however it was given.
dir=$(CDPATH= cd -- "$1" && pwd)
found=0
for bin in "$dir"/bench/bench_*; do
  [ -x "$bin" ] || continue
  found=1
  if [ "${BENCH_WINDOWED:-}" = 1 ]; then
    [ -n "${DISPLAY:-}" ] || { echo "BENCH_WINDOWED=1 needs an X display"; exit 1; }
    "$bin" --benchmark_list_tests 2>/dev/null | grep -q Window || continue
    echo "== $(basename "$bin") (window)"
    (cd "$dir" && SDL_AUDIODRIVER=dummy "$bin" --benchmark_filter=Window)
  else
    echo "== $(basename "$bin")"
    (cd "$dir" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$bin")
  fi
done
[ $found -eq 1 ] || echo "no benchmarks built"
