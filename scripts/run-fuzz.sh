#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs every one of them, several at a time.
# Usage: run-fuzz.sh BUILD_DIR SECONDS [PARALLEL]
#   SECONDS > 0: each target runs that long, PARALLEL at a time (default: the machine's cores);
#                the run fails on the first crash, leak, timeout or out-of-memory.
#   SECONDS = 0: every target runs at once until stopped (Ctrl-C).
# Findings land in BUILD_DIR as <target>-crash-..., -leak-..., -timeout-..., -oom-...; each
# target's log is BUILD_DIR/<target>.log and its grown corpus BUILD_DIR/corpus-<name>.
set -euo pipefail
dir=$1; secs=$2; parallel=${3:-$(nproc)}
[ -f tests/fuzz/CMakeLists.txt ] || { echo "no fuzz targets"; exit 0; }
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISK_TESTS=OFF \
  -DBRISK_BAKE=OFF -DBRISK_FUZZ=ON $(command -v ninja >/dev/null && echo -G Ninja) >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_all

# One target: its seeds, its dictionary and the limits that make a hang or a runaway allocation a
# finding. Prints one summary line; fails when the fuzzer found something.
run_one() {
  local dir=$1 secs=$2 bin=$3
  local name; name=$(basename "$bin")
  local short=${name#fuzz_}
  local work=$dir/corpus-$short log=$dir/$name.log
  # The targets' scratch data folders go under a folder of their own, removed after the run.
  local tmp; tmp=$(cd "$dir" && pwd)/tmp-$short
  rm -rf "$tmp"; mkdir -p "$work" "$tmp"
  local args=(-max_len=65536 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256
              -artifact_prefix="$dir/$name-" -print_final_stats=1)
  [ -f "tests/fuzz/dict/$short.dict" ] && args+=(-dict="tests/fuzz/dict/$short.dict")
  [ "$secs" -gt 0 ] && args+=(-max_total_time="$secs")
  if ! TMPDIR=$tmp "$bin" "${args[@]}" "$work" "tests/fuzz/corpus/$short" >"$log" 2>&1; then
    rm -rf "$tmp"
    tail -n 60 "$log"
    echo "$name found a crash, leak, timeout or out-of-memory (full log: $log)"
    return 1
  fi
  rm -rf "$tmp"
  local runs cov
  runs=$(grep -Eo '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo "?")
  cov=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | grep -Eo 'cov: [0-9]+ ft: [0-9]+' | tail -n 1 || true)
  printf '%-18s %10s runs  %s\n' "$name" "$runs" "$cov"
}
export -f run_one

bins=()
for bin in "$dir"/tests/fuzz/fuzz_*; do
  [ -x "$bin" ] && bins+=("$bin")
done
if [ "$secs" -gt 0 ]; then
  echo "== ${#bins[@]} fuzz targets, ${secs}s each, $parallel at a time"
  printf '%s\n' "${bins[@]}" | xargs -P "$parallel" -I{} bash -c 'run_one "$@"' _ "$dir" "$secs" {}
else
  echo "== ${#bins[@]} fuzz targets until stopped (logs: $dir/fuzz_*.log)"
  printf '%s\n' "${bins[@]}" | xargs -P "${#bins[@]}" -I{} bash -c 'run_one "$@"' _ "$dir" 0 {}
fi
