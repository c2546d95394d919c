#!/bin/sh
# Screenshots of the charts for the README: the real program on the demo
# controller under a virtual X server, driven as an operator would (xdotool):
# each graph source with its legend, the data graph autoscaled, and the window
# made as large as the screen at 1366x768, at 1920x1080 and at 1366x768 with
# a device pixel ratio of 2 (QT_SCALE_FACTOR=2 on a 2732x1536 screen).
#
#   tests/app/chart_screenshots.sh [bin-dir] [out-dir]
#
# Needs Xvfb (xvfb-run), xdotool and ImageMagick's import. Without a window
# manager "maximised" is the window resized to the whole screen.
set -eu

here=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$here/build/bin}
out=${2:-$here/docs}
stage=${STAGE:-/tmp/R-VIM-ZEL4-charts}

if [ "${RVIM_IN_XVFB:-}" = "" ]; then
  mkdir -p "$stage" "$out"
  out=$(cd "$out" && pwd)  # the shots run in the staging directory
  cp "$bin/RVIMZEL4V14" "$bin/RVIMZEL4V14.uir" "$stage/"
  cp "$bin"/*.bmp "$stage/" 2>/dev/null || true
  export STAGE="$stage"
  RVIM_IN_XVFB=sources xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$bin" "$out"
  RVIM_IN_XVFB=large xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$bin" "$out"
  RVIM_IN_XVFB=scaled QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2732x1536x24" "$0" "$bin" "$out"
  exit 0
fi

cd "$stage"
export XDG_CONFIG_HOME="$stage/config"  # a fresh start, and the user's settings untouched
rm -rf "$XDG_CONFIG_HOME"
scale=${QT_SCALE_FACTOR:-1}
./RVIMZEL4V14 --demo &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT
main=$(xdotool search --sync --name '^R-VIM-ZEL4-Diruz V1.4$' | head -n 1)
sleep 2

# Click at panel coordinates (logical pixels).
click() {
  xdotool mousemove --window "$main" $(($1 * scale)) $(($2 * scale)) click "${3:-1}"
}

# Graph source ring at 455,134 (220 x 26): open its list, take item $1.
choose_source() {
  click 565 147
  sleep 0.5
  xdotool key Home
  i=0
  while [ "$i" -lt "$1" ]; do
    xdotool key Down
    i=$((i + 1))
  done
  xdotool key Return
  sleep 0.5
}

run() { click 405 103; }   # Run, in the command group at 360,66
stop() { click 835 103; }  # Stop
readout() { click 545 103; }  # Data readout

maximise() {
  xdotool windowmove "$main" 0 0
  xdotool windowsize "$main" "$1" "$2"
  sleep 1
}

shot() {
  import -window "$main" "$out/$1"
  echo "wrote $out/$1"
}

case "$RVIM_IN_XVFB" in
  sources)
    maximise 1366 768
    n=0
    for name in legend-raw legend-normalised legend-band-a legend-band-b; do
      choose_source "$n"
      run
      sleep 4
      shot "$name.png"
      stop
      sleep 0.5
      n=$((n + 1))
    done
    shot window-1366x768.png
    # The data graph of the raw data set, autoscaled from its context menu.
    choose_source 0
    readout
    sleep 3
    click 700 400 3  # the data graph fills 360,168 .. 1350,608 at this size
    sleep 0.5
    xdotool key Down Return
    sleep 0.5
    shot data-autoscaled.png
    ;;
  large)
    maximise 1920 1080
    choose_source 2
    run
    sleep 4
    shot window-1920x1080.png
    stop
    ;;
  scaled)
    maximise 2732 1536
    choose_source 2
    run
    sleep 4
    shot window-scale2.png
    stop
    ;;
esac
