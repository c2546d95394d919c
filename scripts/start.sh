#!/usr/bin/env bash
# Installs what is missing, builds the program and the stand-alone controller
# simulator (zel4sim; no tests), and starts the program. Without a serial
# adapter and without a remembered port it starts on the built-in demo
# controller, so that a first start shows the tool working; options given
# here go to the program instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
dir=$(RVIM_BUILD_TESTS=OFF RVIM_BUILD_TARGET="RVIMZEL4V14 zel4sim" bash scripts/build.sh | tail -n 1)

if [ "$#" -eq 0 ] && bash scripts/demo_wanted.sh; then
  echo "No serial adapter and no remembered port: starting on the demo controller (--demo)." >&2
  set -- --demo
fi
exec "$dir/bin/RVIMZEL4V14" "$@"
