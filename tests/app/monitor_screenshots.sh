#!/bin/sh
# Screenshots of the line monitor for the README: runs the real program under
# a virtual X server on a simulated controller (zel4sim on a pty), opens the
# monitor with Ctrl+L during a live run, then stops the simulator (SIGSTOP)
# so that the run ends in a time-out, and selects the time-out's row.
#
#   tests/app/monitor_screenshots.sh [bin-dir] [out-dir]
#
# Needs Xvfb (xvfb-run), openbox, xdotool and ImageMagick's import.
set -eu

here=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$here/build/bin}
out=${2:-$here/docs}
stage=${STAGE:-/tmp/R-VIM-ZEL4-monitor}

if [ "${RVIM_IN_XVFB:-}" != 1 ]; then
  mkdir -p "$stage" "$out"
  cp "$bin/RVIMZEL4V14" "$bin/RVIMZEL4V14.uir" "$bin/zel4sim" "$stage/"
  cp "$bin"/*.bmp "$stage/" 2>/dev/null || true
  RVIM_IN_XVFB=1 STAGE="$stage" exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$bin" "$out"
fi

cd "$stage"
export XDG_CONFIG_HOME="$stage/config"  # not the user's settings
openbox >/dev/null 2>&1 &
wm=$!
./zel4sim >sim.txt &
sim=$!
trap 'kill -CONT $sim 2>/dev/null || true; kill $program $sim $wm 2>/dev/null || true' EXIT
for _ in 1 2 3 4 5 6 7 8 9 10; do grep -q '^pty: ' sim.txt && break; sleep 0.2; done
pty=$(sed -n 's/^pty: //p' sim.txt)

./RVIMZEL4V14 --port "$pty" --log line.txt &
program=$!
main=$(xdotool search --sync --name '^R-VIM-ZEL4-Diruz V1.4$' | head -n 1)
sleep 2
xdotool windowmove "$main" 0 0
sleep 0.5

# Run (top of the command area), then the monitor with Ctrl+L.
xdotool mousemove 415 102 click 1
sleep 1
xdotool windowactivate --sync "$main" key ctrl+l
monitor=$(xdotool search --sync --name 'Line monitor' | head -n 1)
xdotool windowmove "$monitor" 240 260 windowraise "$monitor"
sleep 4
import -window "$monitor" "$out/monitor-live.png"

# The controller stops answering: after 2 s the run ends with a time-out.
kill -STOP $sim
sleep 3
# The time-out row chosen with the keyboard: the request it waited for (and
# what came of the answer) shows below the table. The rows after it (the
# status text, a flush of a part answer) are counted in the --log file.
after=$(awk -F '\t' '/no answer within/ { n = 0; next } { n++ } END { print n }' line.txt)
xdotool windowactivate --sync "$monitor"
xdotool mousemove 700 420 click 1 key ctrl+End
for _ in $(seq "$after"); do xdotool key Up; done
sleep 1
import -window "$monitor" "$out/monitor-timeout.png"
echo "wrote $out/monitor-live.png $out/monitor-timeout.png"
