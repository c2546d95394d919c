#!/usr/bin/env bash
# Builds like scripts/test.sh and runs the wire suites (CTest label "wire") once
# with the controller's latitude: every simulator varies what the protocol
# leaves to the controller, from the seed given as $1 or a fresh one. A case
# that fails prints the seed that reproduces it.
set -euo pipefail
cd "$(dirname "$0")/.."
seed="${1:-$(od -An -N8 -tu8 /dev/urandom | tr -d ' ')}"
bash scripts/deps.sh
dir=$(bash scripts/build.sh | tail -n 1)
echo "latitude seed: $seed (rerun: bash scripts/test_latitude.sh $seed)"
export QT_QPA_PLATFORM=offscreen RVIM_SIM_LATITUDE="$seed"
cd "$dir"
status=0
ctest --output-on-failure -j "${RVIM_TEST_JOBS:-2}" -L wire "${@:2}" || status=$?
echo "latitude seed: $seed"
exit "$status"
