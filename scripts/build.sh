#!/usr/bin/env bash
# Configures and builds into $BUILD_DIR (default: build; build-asan with RVIM_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize="${RVIM_SANITIZE:-OFF}"
default_dir=build
if [ "$sanitize" = "ON" ]; then default_dir=build-asan; fi
dir="${BUILD_DIR:-$default_dir}"
cmake -S . -B "$dir" -G Ninja -DRVIM_SANITIZE="$sanitize" >&2
cmake --build "$dir" >&2
echo "$dir"
