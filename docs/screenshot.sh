#!/usr/bin/env bash
# Retakes docs/frame.png: the workbench on a virtual display with two documents
# tiled side by side and the Turing menu's Speed submenu open.
# Needs Xvfb, openbox (for the title bar), xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "docs/screenshot.sh: $tool is missing" >&2; exit 1; }
done
program=${1:-build/default/ui/zarn-tm}
[[ -x "$program" ]] || { echo "docs/screenshot.sh: build $program first (scripts/start builds it)" >&2; exit 1; }

display=:57
Xvfb "$display" -screen 0 1024x700x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $workbench $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
"$program" >/dev/null 2>&1 &
workbench=$!
sleep 2

frame=$(xdotool search --name "ZARN Turing Machine" | head -1)
xdotool windowactivate --sync "$frame"
xdotool windowsize "$frame" 900 600 windowmove "$frame" 50 30
sleep 0.5
for _ in 1 2; do
  xdotool key alt+f; sleep 0.4; xdotool key n; sleep 0.5   # File > New
done
xdotool key alt+w; sleep 0.4; xdotool key v; sleep 0.5     # Window > Tile vertically
# Turing, then hover over Speed so that its submenu opens.
xdotool mousemove 151 38 click 1; sleep 0.5
xdotool mousemove 175 100; sleep 0.3; xdotool mousemove 180 105; sleep 1
import -window root -crop 912x640+44+2 +repage docs/frame.png
