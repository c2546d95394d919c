#!/usr/bin/env bash
# Configures and builds into $BUILD_DIR (default: build; build-asan with RVIM_SANITIZE=ON).
# RVIM_BUILD_TESTS=OFF leaves out the tests and the benchmark; RVIM_BUILD_TARGET
# builds one target (and what it needs) instead of everything; RVIM_WERROR=ON
# or OFF sets whether warnings fail the build (otherwise the build folder keeps
# its setting, OFF in a new one).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize="${RVIM_SANITIZE:-OFF}"
tests="${RVIM_BUILD_TESTS:-ON}"
default_dir=build
if [ "$sanitize" = "ON" ]; then default_dir=build-asan; fi
dir="${BUILD_DIR:-$default_dir}"
cmake -S . -B "$dir" -G Ninja -DRVIM_SANITIZE="$sanitize" -DRVIM_BUILD_TESTS="$tests" \
  ${RVIM_WERROR:+-DRVIM_WERROR="$RVIM_WERROR"} >&2
cmake --build "$dir" ${RVIM_BUILD_TARGET:+--target "$RVIM_BUILD_TARGET"} >&2
echo "$dir"
