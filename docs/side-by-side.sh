#!/usr/bin/env bash
# Takes the README's side-by-side pictures: the same two moments in the Linux
# program and in the Windows program under Wine, each alone on a virtual
# display of the same size, without a window manager:
#   docs/run-linux.png, docs/run-wine.png        the worked example run to its end, its Tape page shown
#   docs/tiled-linux.png, docs/tiled-wine.png    then File > New and Window > Tile vertically
# The Windows program is the 32-bit one we ship, under the 32-bit Wine; where
# the kernel cannot run 32-bit programs, the 64-bit build stands in for it
# (the same source, drawn by the same Wine) and the script says so.
# Needs the default, mingw and mingw64 builds, xvfb-run, xdotool and ImageMagick's import.
# Usage: docs/side-by-side.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# One program's pictures, run on its own display: the moments, then File > Exit.
# Arguments: the side's name, the Tape tab's place in the frame, the program and its arguments.
if [[ "${1:-}" == --take ]]; then
  side=$2 tab_x=$3 tab_y=$4
  shift 4
  "$@" &
  program=$!
  trap 'kill "$program" 2>/dev/null || true' EXIT
  for _ in $(seq 1 300); do
    frame=$(xdotool search --onlyvisible --name '^ZARN Turing Machine$' 2>/dev/null | head -n 1) || true
    [[ -n "$frame" ]] && break
    sleep 0.1
  done
  [[ -n "$frame" ]] || { echo "side-by-side: the $side frame did not appear" >&2; exit 1; }
  sleep 1
  # Pictures need the windows painted, which nothing outside can wait for:
  # the pauses are generous instead.
  menu() {
    xdotool windowfocus --sync "$frame" key "alt+$1"
    sleep 0.6
    xdotool key "$2"
    sleep 0.8
  }
  menu t r
  sleep 4
  xdotool mousemove --window "$frame" "$tab_x" "$tab_y" click 1
  sleep 0.8
  import -window "$frame" "docs/run-$side.png"
  menu f n
  menu w v
  import -window "$frame" "docs/tiled-$side.png"
  menu f x
  wait "$program" || true
  trap - EXIT
  exit 0
fi

for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "side-by-side: $tool is missing" >&2; exit 1; }
done
linux=build/default/ui/zarn-tm
for program in "$linux" build/mingw/ui/zarn-tm.exe build/mingw64/ui/zarn-tm.exe; do
  [[ -f "$program" ]] || { echo "side-by-side: build $program first" >&2; exit 1; }
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
example="$folder/worked example.txt"
printf 'tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n' >"$example"
windows_example="Z:${example//\//\\}"

env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1024x768x24" \
  "$0" --take linux 155 325 "$PWD/$linux" "$example"

status=0
scripts/wine-run --win32 --display "$0" --take wine 140 286 \
  /usr/lib/wine/wine "$PWD/build/mingw/ui/zarn-tm.exe" "$windows_example" || status=$?
if ((status == 77)); then
  echo "side-by-side: the 64-bit Windows build stands in for the 32-bit one here"
  scripts/wine-run --display "$0" --take wine 140 286 \
    /usr/lib/wine/wine64 "$PWD/build/mingw64/ui/zarn-tm.exe" "$windows_example"
elif ((status != 0)); then
  exit "$status"
fi
echo "side-by-side: docs/run-linux.png, docs/run-wine.png, docs/tiled-linux.png, docs/tiled-wine.png"
