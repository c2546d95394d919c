#!/usr/bin/env bash
# scripts/start.sh's choice of the demo controller: only when no serial
# adapter is plugged in and no port is remembered. Each case builds a fake
# /dev and settings file and asks scripts/demo_wanted.sh.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# case name | devices to create (space separated) | settings file text | wanted (demo/port)
check() {
  local name=$1 devices=$2 settings=$3 wanted=$4
  rm -rf "$work/dev" "$work/conf"
  mkdir -p "$work/dev/serial/by-id"
  for d in $devices; do touch "$work/dev/$d"; done
  [ -n "$settings" ] && printf '%b' "$settings" >"$work/conf"
  local got=port
  bash "$here/scripts/demo_wanted.sh" "$work/dev" "$work/conf" && got=demo
  if [ "$got" != "$wanted" ]; then
    echo "FAIL $name: wanted $wanted, got $got" >&2
    failed=1
  fi
}

check "nothing at all" "" "" demo
check "no port in the settings" "ttyS0 ttyS1" "[scope]\ngraphsource=2\n" demo
check "empty remembered port" "" "[port]\ndevice=\n" demo
check "device key of another section" "" "[other]\ndevice=/dev/ttyUSB0\n[port]\n" demo
check "USB adapter" "ttyUSB0" "" port
check "ACM adapter" "ttyACM3" "" port
check "adapter by id" "serial/by-id/usb-FTDI_FT232R-if00-port0" "" port
check "remembered adapter, unplugged" "" "[port]\ndevice=/dev/serial/by-id/usb-x\n" port
check "remembered demo" "" "[panels]\nmain\\\\geometry=@ByteArray()\n[port]\ndevice=demo\n" port

exit "$failed"
