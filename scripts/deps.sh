#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, if missing,
# and any further packages named as arguments (the fuzz and package scripts'
# own tools).
set -euo pipefail
pkgs=(cmake ninja-build g++ libgl-dev qt6-base-dev qt6-tools-dev qt6-serialport-dev
      libgtest-dev fonts-dejavu-core xvfb xauth "$@")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
