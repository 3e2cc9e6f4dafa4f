#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one.
# Usage: run-fuzz.sh BUILD_DIR SECONDS   (SECONDS 0 = run until stopped)
set -euo pipefail
dir=$1; secs=$2
[ -f tests/fuzz/CMakeLists.txt ] || { echo "no fuzz targets"; exit 0; }
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISK_TESTS=OFF \
  -DBRISK_BAKE=OFF -DBRISK_FUZZ=ON $(command -v ninja >/dev/null && echo -G Ninja) >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_all
for bin in "$dir"/tests/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  corpus=tests/fuzz/corpus/${name#fuzz_}
  work=$dir/corpus-${name#fuzz_}
  mkdir -p "$work"
  args=(-max_len=65536 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$dir/$name-")
  [ "$secs" -gt 0 ] && args+=(-max_total_time="$secs")
  echo "== $name (${secs}s)"
  if [ "$secs" -gt 0 ]; then
    # A bounded run keeps its chatter in a log and shows it only when the fuzzer finds something.
    log=$dir/$name.log
    if ! "$bin" "${args[@]}" "$work" "$corpus" >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "$name found a crash, leak or undefined behaviour (full log: $log)"
      exit 1
    fi
    grep -E '^Done [0-9]+ runs' "$log" || true
  else
    "$bin" "${args[@]}" "$work" "$corpus"
  fi
done
