#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
export RVIM_WERROR="${RVIM_WERROR:-ON}"
bash scripts/deps.sh
dir=$(bash scripts/build.sh | tail -n 1)
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure -j "${RVIM_TEST_JOBS:-2}"
