#!/usr/bin/env bash
# Whether a start from scripts/start.sh should go to the built-in demo
# controller: yes (exit 0) when no serial adapter is plugged in and no port is
# remembered in the settings file, so that a first start shows the tool
# working; no (exit 1) otherwise.
#
#   demo_wanted.sh [DEV_DIR] [SETTINGS_FILE]
#
# DEV_DIR defaults to /dev, SETTINGS_FILE to the program's settings file.
set -uo pipefail
dev="${1:-/dev}"
settings="${2:-${XDG_CONFIG_HOME:-$HOME/.config}/rvimzel4/RVIMZEL4V14.conf}"

adapter_present() {
  compgen -G "$dev/serial/by-id/*" >/dev/null || compgen -G "$dev/ttyUSB*" >/dev/null ||
    compgen -G "$dev/ttyACM*" >/dev/null
}

# The key port/device: a non-empty "device=" line in the [port] section.
port_remembered() {
  [ -f "$settings" ] && sed -n '/^\[port\]/,/^\[/p' "$settings" | grep -q '^device=.'
}

! adapter_present && ! port_remembered
