#!/bin/sh
# Screenshots of the two panels for the README: runs the real program under a
# virtual X server, chooses the demo controller in the port selector as an
# operator would (xdotool), and captures the main panel after the handshake
# and the second panel.
#
#   tests/app/screenshots.sh [bin-dir] [out-dir]
#
# Needs Xvfb (xvfb-run), xdotool and ImageMagick's import. The program is
# run from a copy in a staging directory, so the record file path it shows
# does not name the build tree.
set -eu

here=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$here/build/bin}
out=${2:-$here/docs}
stage=${STAGE:-/tmp/R-VIM-ZEL4}

if [ "${RVIM_IN_XVFB:-}" != 1 ]; then
  mkdir -p "$stage" "$out"
  cp "$bin/RVIMZEL4V14" "$bin/RVIMZEL4V14.uir" "$stage/"
  cp "$bin"/*.bmp "$stage/" 2>/dev/null || true
  RVIM_IN_XVFB=1 STAGE="$stage" exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$bin" "$out"
fi

cd "$stage"
./RVIMZEL4V14 &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

main=$(xdotool search --sync --name '^R-VIM-ZEL4-Diruz V1.4$' | head -n 1)
sleep 1

# Port selector (group "Controller" at 10,450; selector at 100,26 in it):
# open its list, jump to "90  Demo controller" by typing, choose it.
xdotool mousemove 225 489 click 1
sleep 0.5
xdotool type 9
xdotool key Return
sleep 3  # value changed and commit: two handshakes with the demo
# Run the scope for a few seconds, then Stop: the chart keeps its picture.
xdotool mousemove 415 102 click 1
sleep 5
xdotool mousemove 835 102 click 1
sleep 0.5
import -window "$main" "$out/main-panel.png"

# "Parameters II" toggle in the banner.
xdotool mousemove 1022 30 click 1
popup=$(xdotool search --sync --name 'Parameters II' | head -n 1)
sleep 1
import -window "$popup" "$out/popup-panel.png"
echo "wrote $out/main-panel.png $out/popup-panel.png"
