#!/usr/bin/env bash
# Installs what is missing, builds the program (and the demo controller it
# links; no tests), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
dir=$(RVIM_BUILD_TESTS=OFF RVIM_BUILD_TARGET=RVIMZEL4V14 bash scripts/build.sh | tail -n 1)
exec "$dir/bin/RVIMZEL4V14"
