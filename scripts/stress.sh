#!/usr/bin/env bash
# Flake check: `bash scripts/stress.sh [N]` builds, then runs the whole suite
# N times (default 10) at -j2 while a compile job loads the machine, and prints
# each case that failed with the number of runs it failed in. RVIM_SANITIZE=ON
# stresses the sanitizer build. Exits 1 when any case failed.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-10}"
dir=$(bash scripts/build.sh | tail -n 1)
load_dir="${dir}-stress-load"
logs=$(mktemp -d)
running="$logs/loading"

# The load: the platform's user-interface library compiled again and again,
# two files at a time, without the compiler cache.
export CCACHE_DISABLE=1
cmake -S . -B "$load_dir" -G Ninja -DRVIM_BUILD_TESTS=OFF -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
touch "$running"
(
  while [ -e "$running" ]; do
    ninja -C "$load_dir" -j2 rv_platform_ui >/dev/null 2>&1 || true
    ninja -C "$load_dir" -t clean >/dev/null 2>&1 || true
  done
) &
loader=$!
stop_load() {
  rm -f "$running"
  wait "$loader" 2>/dev/null || true
}
trap stop_load EXIT

export QT_QPA_PLATFORM=offscreen
for run in $(seq 1 "$runs"); do
  start=$(date +%s)
  (cd "$dir" && ctest -j2 >"$logs/run$run.txt" 2>&1) || true
  # "  12 - Suite.Case (Failed)" under "The following tests FAILED:"; the
  # kind (Failed, Timeout, ...) is left off, so that a case counts once a run.
  sed -n '/The following tests FAILED:/,$p' "$logs/run$run.txt" |
    sed -nE 's/^[[:space:]]+[0-9]+ - (.*) \([^)]*\)$/\1/p' >"$logs/failed$run.txt"
  echo "run $run of $runs: $(($(date +%s) - start)) s, $(wc -l <"$logs/failed$run.txt") failed," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
done

echo "Failing cases (runs failed, case):"
cat "$logs"/failed*.txt | sort | uniq -c | sort -rn
echo "Logs: $logs"
! cat "$logs"/failed*.txt | grep -q .
