#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (ASan and UBSan on) in
# $BUILD_DIR (default build-fuzz) and runs each for $FUZZ_SECONDS (default 60)
# on a copy of its corpus. Targets: all, or the names given
# (receive firmware parafile recordrow). Findings land in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh clang-14 libfuzzer-14-dev

dir="${BUILD_DIR:-build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(receive firmware parafile recordrow); fi

CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" -G Ninja -DRVIM_FUZZ=ON >&2
cmake --build "$dir" --target "${targets[@]/#/fuzz_}" >&2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
mkdir -p "$dir/findings"
for t in "${targets[@]}"; do
  work="$dir/corpus/$t"
  mkdir -p "$work"
  cp -n tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  echo "== $t: $seconds s"
  "$dir/bin/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$t-" "$work"
done
