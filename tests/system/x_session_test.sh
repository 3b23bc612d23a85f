#!/usr/bin/env bash
# Drives the real zarn-tm on a virtual X display only with keyboard and mouse
# events, as a person would, and checks the files it writes byte for byte:
#   started with a description file named on the command line (a path with a space)
#   File > New, the worked example typed into the editor, Turing > Speed > 125ms,
#   Turing > Run to the end, the Tape tab, Turing > Save output, File > Save as,
#   File > Open of an example, the first document from the Window menu, Turing > Run
#   of its broken description and the "Unable to run" box closed with Enter,
#   File > Save back to the command line's file, File > Exit with status 0;
#   then a 50 MB description under address-space limits: the "Unable to open" box.
# Every stage leaves a screenshot in the work folder; their paths are printed on failure.
# Usage: x_session_test.sh ZARN_TM EXAMPLES_FOLDER WORK_FOLDER
# Exit status 77 (a skip for CTest) when Xvfb, xauth, openbox, xdotool or import is missing.
set -euo pipefail

program=$(realpath "$1")
examples=$(realpath "$2")
work=$3

for tool in Xvfb xauth openbox xdotool import; do
  if ! command -v "$tool" >/dev/null; then
    echo "x_session_test: skipped: $tool is missing (scripts/deps installs it)"
    exit 77
  fi
done

rm -rf "$work"
mkdir -p "$work/files" "$work/screenshots"
work=$(realpath "$work")
log=$work/zarn-tm.log
pids=()
started=$SECONDS

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "x_session_test: FAILED: $*" >&2
  echo "x_session_test: screenshots of each stage so far:" >&2
  ls -1 "$work"/screenshots/*.png >&2 2>/dev/null || echo "  (none)" >&2
  echo "x_session_test: the program's output: $log" >&2
  exit 1
}

stage=0
# A moment first for the windows to finish painting: the pictures are for
# people, and nothing waits on them.
screenshot() {
  sleep 0.2
  stage=$((stage + 1))
  import -window root "$work/screenshots/$(printf '%02d' "$stage")-$1.png"
}

# Polls until the command succeeds; every wait has a deadline, and none relies
# on a fixed sleep alone.
wait_until() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || fail "waited ${seconds}s for $what"
    sleep 0.1
  done
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
window_shown() { [[ -n $(visible_window "$1") ]]; }
window_gone() { [[ -z $(visible_window "$1") ]]; }
window_manager_running() { [[ -n $(xdotool search --class openbox 2>/dev/null) ]]; }
focused() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
activate() {
  xdotool windowactivate "$1" 2>/dev/null
  [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]
}
# Gone, or a zombie that only waits for its exit status to be collected.
process_ended() { [[ ! -e /proc/$1 ]] || [[ $(awk '{print $3}' "/proc/$1/stat") == Z ]]; }

# A dialog or box is ready for keys once it is shown and has the keyboard.
wait_for_dialog() {
  local title=$1
  wait_until 20 "a window titled \"$title\"" window_shown "$title"
  dialog=$(visible_window "$title")
  wait_until 20 "the keyboard focus in \"$title\"" focused "$dialog"
}

# ...and the frame is ready again once the dialog is gone and the frame has the keyboard back.
wait_for_frame() {
  wait_until 20 "\"$1\" to close" window_gone "$1"
  wait_until 20 "the keyboard focus back in the frame" focused "$frame"
}

# Qt's open menus are the program's windows that bear its name, zarn-tm: the
# menu bar's menu and any submenu. Keys go on only once the menus they open
# (or close) are there (or gone).
menus_open() {
  local window count=0
  for window in $(xdotool search --onlyvisible --class '^zarn-tm$' 2>/dev/null); do
    [[ $(xdotool getwindowname "$window" 2>/dev/null) == zarn-tm ]] && count=$((count + 1))
  done
  ((count == $1))
}
open_menu() {
  xdotool key "alt+$1"
  wait_until 20 "the menu of alt+$1 to open" menus_open 1
}
# A command from the menu bar: alt and the menu's letter, then the item's letter.
menu_command() {
  open_menu "$1"
  xdotool key "$2"
  wait_until 20 "the menu of alt+$1 to close after $2" menus_open 0
}

# Types a path into the file dialog's name field (replacing what it offers) and accepts it.
choose_file() {
  local title=$1 path=$2
  wait_for_dialog "$title"
  xdotool key ctrl+a
  xdotool type --delay 10 "$path"
  screenshot "$(tr 'A-Z ' 'a-z-' <<<"$title")-dialog"
  xdotool key Return
  wait_for_frame "$title"
}

type_lines() {
  local line
  for line in "$@"; do
    xdotool type --delay 10 "$line"
    xdotool key Return
  done
}

# A display of our own: only clients with its cookie may connect, so that no
# other program's keys reach this session, nor ours another's. -noreset keeps
# the server from restarting (and refusing connections) when the last client leaves.
start_display() {
  local number
  export XAUTHORITY=$work/xauthority
  : >"$XAUTHORITY"
  for number in $(seq "${ZARN_TEST_DISPLAY:-81}" 99); do
    [[ -e /tmp/.X$number-lock ]] && continue
    xauth -q add ":$number" . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
    Xvfb ":$number" -auth "$XAUTHORITY" -screen 0 1024x768x24 -nolisten tcp -noreset \
      >"$work/xvfb.log" 2>&1 &
    local xvfb=$!
    export DISPLAY=:$number
    local deadline=$((SECONDS + 10))
    while kill -0 "$xvfb" 2>/dev/null && ((SECONDS < deadline)); do
      # The lock file names the server that owns the display: ours, not one just ending.
      if [[ $(tr -d ' ' 2>/dev/null <"/tmp/.X$number-lock") == "$xvfb" ]] &&
        xdotool getdisplaygeometry >/dev/null 2>&1; then
        pids+=("$xvfb")
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
  done
  fail "no X display could be started (see $work/xvfb.log)"
}

blanks() { printf '^%.0s' $(seq "$1"); }

# The worked example's output: the states line, TAB, the 60-cell tape line, CR LF.
write_expected_output() {
  {
    printf '(a,1)\t^^11%s\r\n' "$(blanks 56)"
    printf '(a,1,a,0,R)\t^^01%s\r\n' "$(blanks 56)"
    printf '(a,1,a,0,R)\t^^00%s\r\n' "$(blanks 56)"
    printf '(a,^,h,^,0)\t^^00%s\r\n' "$(blanks 56)"
    printf 'Finished!\tFinished!\r\n'
  } >"$1"
}

same_bytes() { cmp -s "$1" "$2"; }

# Save output until the file holds the finished run: a run that is slower than
# expected is waited for, never failed. The file is written after its dialog
# has gone, and appears whole (it is renamed into place), so each attempt
# removes it first and waits for it to appear.
save_finished_output() {
  local output=$1 expected=$2 deadline=$((SECONDS + 60))
  while :; do
    rm -f "$output"
    menu_command t o
    choose_file "Save output" "$output"
    wait_until 20 "Save output to write $output" test -f "$output"
    same_bytes "$output" "$expected" && return 0
    if [[ $(tail -c 21 "$output") == $'Finished!\tFinished!\r' ]]; then
      fail "the output of the finished run differs from the expected bytes:
$(cmp "$output" "$expected" || true)"
    fi
    ((SECONDS < deadline)) || fail "the run did not finish within 60 s"
    sleep 0.5
  done
}

start_display
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_until 20 "the window manager" window_manager_running

files=$work/files
broken="$files/broken machine.txt"
printf 'tape(.11)\nstart(a)\n(a,1,a,0,R)\n(a,^,h,^,N)\n' >"$broken"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# Qt keeps the file dialog's state (last folder, history) in its settings: the
# test starts from none and leaves the user's alone.
export XDG_CONFIG_HOME=$work/config
(cd "$files" && exec "$program" "$broken") >"$log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

wait_until 30 "the frame \"ZARN Turing Machine\"" window_shown "ZARN Turing Machine"
frame=$(visible_window "ZARN Turing Machine")
# As a person's click would, whether or not the window manager saw the frame appear.
wait_until 30 "the frame to become active" activate "$frame"
wait_until 20 "the keyboard focus in the frame" focused "$frame"
screenshot started-with-a-file

# File > New, then a click into the new document's editor (it sits cascaded
# below the first document), which a new document does not focus by itself.
menu_command f n
xdotool mousemove --window "$frame" 330 250 click 1
type_lines 'tape(.11)' 'start(a)' 'finish(h)' '(a,1,a,0,R)' '(a,^,h,^,N)'
screenshot worked-example-typed

# Turing > Speed > 125ms: Speed shares its S with Stop, so the arrows reach it.
open_menu t
xdotool key Down Down Right
wait_until 20 "the Speed submenu to open" menus_open 2
screenshot speed-submenu
xdotool key Return
wait_until 20 "the menus to close after 125ms" menus_open 0

menu_command t r
# Four reports at one every 250 ms; Save output below waits for more if need be.
sleep 1.5
xdotool mousemove --window "$frame" 178 348 click 1
expected_output=$work/expected-output.txt
write_expected_output "$expected_output"
save_finished_output "$files/run output.txt" "$expected_output"
screenshot finished-run
# The frame alone, with its title bar: the README's picture of a finished run.
sleep 0.2
import -window "$frame" -frame "$work/screenshots/finished-run-frame.png"

menu_command f a
choose_file "Save file" "$files/worked example.txt"
printf 'tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n\0' >"$work/expected-description.txt"
wait_until 20 "File > Save as to write the editor's text with CR LF and one NUL" \
  same_bytes "$files/worked example.txt" "$work/expected-description.txt"

menu_command f o
choose_file "Open file" "$examples/binary_increment.txt"
screenshot example-opened

# The command line's document is the first in the Window menu.
menu_command w 1
menu_command t r
wait_for_dialog "Error"
screenshot unable-to-run
xdotool key Return
wait_for_frame "Error"

menu_command f s
printf 'tape(.11)\r\nstart(a)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n\0' >"$work/expected-broken.txt"
wait_until 20 "File > Save to rewrite the command line's file" \
  same_bytes "$broken" "$work/expected-broken.txt"
screenshot before-exit

menu_command f x
wait_until 20 "the program to exit after File > Exit" process_ended "$program_pid"
status=0
wait "$program_pid" || status=$?
((status == 0)) || fail "zarn-tm exited with status $status"

# A description larger than the editor can hold in the address space left
# under each limit: the "Unable to open" box, not a crash, and the program
# goes on until File > Exit. Each limit crashed inside Qt before the editor
# checked for room.
big="$files/big machine.txt"
{ printf 'tape(.1)\r\nstart(q0)\r\nfinish(h)\r\n'; head -c 50M < <(yes $'(q0,1,q1,0,R)\r'); } >"$big"
box_or_end() { window_shown "Error" || process_ended "$program_pid"; }
for limit in 700 850 1000; do
  (cd "$files" && exec prlimit --as=$((limit << 20)) "$program" "$big") >>"$log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  wait_until 120 "the box or the end of zarn-tm under a $limit MB limit" box_or_end
  process_ended "$program_pid" && fail "zarn-tm ended under a $limit MB limit"
  frame=$(visible_window "ZARN Turing Machine")
  wait_for_dialog "Error"
  screenshot "unable-to-open-under-$limit-mb"
  xdotool key Return
  wait_for_frame "Error"
  menu_command f x
  wait_until 20 "zarn-tm to exit under a $limit MB limit" process_ended "$program_pid"
  status=0
  wait "$program_pid" || status=$?
  ((status == 0)) || fail "zarn-tm exited with status $status under a $limit MB limit"
done

echo "x_session_test: passed in $((SECONDS - started)) s; screenshots in $work/screenshots"
