#!/usr/bin/env bash
# The benchmark runner finds its programs whether the build folder is given relative or absolute.
set -euo pipefail
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build/bench"
printf '#!/bin/sh\necho "probe ran in $(pwd)"\n' >"$work/build/bench/bench_probe"
chmod +x "$work/build/bench/bench_probe"
absolute=$(bash "$runner" "$work/build")
relative=$(cd "$work" && bash "$runner" build)
for out in "$absolute" "$relative"; do
  grep -qx "probe ran in $work/build" <<<"$out" || { echo "the probe did not run:"; echo "$out"; exit 1; }
done
