#!/bin/sh
# Screenshots for the README: runs the real program under a virtual X server.
#  - the two panels: chooses the demo controller in the port selector as an
#    operator would (xdotool), runs the scope, captures the main panel and the
#    second panel;
#  - the whole screen at 1280x720 and at 1366x768 under a window manager
#    (openbox), the program started on the demo controller as it places
#    itself: title bar and status line on the screen.
#
#   tests/app/screenshots.sh [bin-dir] [out-dir]
#
# Needs Xvfb (xvfb-run), openbox, xdotool and ImageMagick's import. The
# program is run from a copy in a staging directory, so the record file path
# it shows does not name the build tree.
set -eu

here=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$here/build/bin}
out=${2:-$here/docs}
stage=${STAGE:-/tmp/R-VIM-ZEL4}

if [ "${RVIM_IN_XVFB:-}" = "" ]; then
  mkdir -p "$stage" "$out"
  out=$(cd "$out" && pwd)
  cp "$bin/RVIMZEL4V14" "$bin/RVIMZEL4V14.uir" "$stage/"
  cp "$bin"/*.bmp "$stage/" 2>/dev/null || true
  export STAGE="$stage"
  RVIM_IN_XVFB=panels xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$bin" "$out"
  RVIM_IN_XVFB=desk xvfb-run -a -s "-screen 0 1280x720x24" "$0" "$bin" "$out"
  RVIM_IN_XVFB=desk xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$bin" "$out"
  exit 0
fi

cd "$stage"
export XDG_CONFIG_HOME="$stage/config"  # a fresh start, and the user's settings untouched
rm -rf "$XDG_CONFIG_HOME"
pids=""
trap 'kill $pids 2>/dev/null || true' EXIT

# Click at panel coordinates.
click() {
  xdotool mousemove --window "$main" "$1" "$2" click 1
}
run() { click 415 102; }   # Run, in the command group at 360,66
stop() { click 835 102; }  # Stop

if [ "$RVIM_IN_XVFB" = desk ]; then
  HOME="$stage" openbox &
  pids="$!"
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.2; done
  ./RVIMZEL4V14 --demo &
  pids="$pids $!"
  main=$(xdotool search --sync --name '^R-VIM-ZEL4-Diruz V1.4$' | head -n 1)
  sleep 3
  run
  sleep 5
  stop
  sleep 0.5
  size=$(xdpyinfo | sed -n 's/ *dimensions: *\([0-9x]*\) pixels.*/\1/p')
  import -window root "$out/screen-$size.png"
  echo "wrote $out/screen-$size.png"
  exit 0
fi

./RVIMZEL4V14 &
pids="$!"
main=$(xdotool search --sync --name '^R-VIM-ZEL4-Diruz V1.4$' | head -n 1)
sleep 1

# Port selector (group "Controller" at 10,450; selector at 100,26 in it):
# open its list, jump to "90  Demo controller" by typing, choose it.
click 225 489
sleep 0.5
xdotool type 9
xdotool key Return
sleep 3  # value changed and commit: two handshakes with the demo
# Run the scope for a few seconds, then Stop: the chart keeps its picture.
run
sleep 5
stop
sleep 0.5
import -window "$main" "$out/main-panel.png"

# "Parameters II" toggle in the banner.
click 1022 30
popup=$(xdotool search --sync --name 'Parameters II' | head -n 1)
sleep 1
import -window "$popup" "$out/popup-panel.png"
echo "wrote $out/main-panel.png $out/popup-panel.png"
