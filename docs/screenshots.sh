#!/usr/bin/env bash
# Retakes the README's pictures of the workbench on a virtual display:
#   docs/frame.png          two documents tiled, the Turing menu's Speed submenu open
#   docs/documents.png      two documents tiled, a description typed into one
# (docs/finished-run.png comes from the X session test: tests/system/x_session_test.sh.)
# Needs Xvfb, openbox (for the title bar), xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "docs/screenshots.sh: $tool is missing" >&2; exit 1; }
done
program=${1:-build/default/ui/zarn-tm}
[[ -x "$program" ]] || { echo "docs/screenshots.sh: build $program first (scripts/start builds it)" >&2; exit 1; }

display=:58
Xvfb "$display" -screen 0 1024x700x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $workbench $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

snap() { sleep 0.5; import -window root -crop 912x640+44+2 +repage "docs/$1"; }
menu() { xdotool key "alt+$1"; sleep 0.4; xdotool key "$2"; sleep 0.5; }
# Types text into the editor as a person would, one line at a time.
type_lines() {
  for line in "$@"; do xdotool type --delay 15 "$line"; xdotool key Return; done
}
start_workbench() {
  "$program" >/dev/null 2>&1 &
  workbench=$!
  sleep 2
  frame=$(xdotool search --name "ZARN Turing Machine" | head -1)
  xdotool windowactivate --sync "$frame"
  xdotool windowsize "$frame" 900 600 windowmove "$frame" 50 30
  sleep 0.5
}

start_workbench
menu f n
menu f n
menu w v                                         # Window > Tile vertically
xdotool mousemove 600 200 click 1; sleep 0.3     # into the right-hand editor
type_lines 'tape(.11)' 'start(a)' 'finish(h)' '(a,1,a,0,R)' '(a,^,h,^,N)'
snap documents.png
# Turing, then hover over Speed so that its submenu opens.
xdotool mousemove 151 38 click 1; sleep 0.5
xdotool mousemove 175 100; sleep 0.3; xdotool mousemove 180 105; sleep 1
snap frame.png
xdotool key Escape Escape; sleep 0.3
