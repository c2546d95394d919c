#!/usr/bin/env bash
# Configures and builds into $BUILD_DIR (default: build; build-asan with RVIM_SANITIZE=ON).
# RVIM_BUILD_TESTS=OFF leaves out the tests and the benchmark; RVIM_BUILD_TARGET
# builds the targets it names (separated by spaces, and what they need)
# instead of everything; RVIM_WERROR=ON or OFF sets whether warnings fail the
# build (otherwise the build folder keeps its setting, OFF in a new one).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize="${RVIM_SANITIZE:-OFF}"
tests="${RVIM_BUILD_TESTS:-ON}"
default_dir=build
if [ "$sanitize" = "ON" ]; then default_dir=build-asan; fi
dir="${BUILD_DIR:-$default_dir}"
# ccache may keep what was compiled with a precompiled header.
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
cmake -S . -B "$dir" -G Ninja -DRVIM_SANITIZE="$sanitize" -DRVIM_BUILD_TESTS="$tests" \
  ${RVIM_WERROR:+-DRVIM_WERROR="$RVIM_WERROR"} >&2
read -ra targets <<<"${RVIM_BUILD_TARGET:-}"
cmake --build "$dir" ${targets[@]:+--target "${targets[@]}"} >&2
echo "$dir"
