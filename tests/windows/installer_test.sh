#!/usr/bin/env bash
# Packs the Windows installer with cpack and tries it under Wine as a person
# would, in a fresh Wine prefix: a silent install for everyone on the computer
# and another for the current user only; each time the files, the Start-menu
# shortcut (pointing at the workbench, with its icon) and the entry among
# installed programs are checked, the installed tm-run.exe runs an installed
# example, and a silent uninstall must leave nothing behind. The first time,
# the workbench is started from its shortcut and its frame must appear (a
# screenshot of it stays in the work folder). With --win32 it runs under
# 32-bit Wine, which scripts/wine-run reports skipped (77) where 32-bit
# programs cannot run.
# Usage: installer_test.sh [--win32] BUILD_FOLDER SOURCE_FOLDER WORK_FOLDER
set -euo pipefail

bits=()
wine=/usr/lib/wine/wine64
if [[ $1 == --win32 ]]; then
  bits=(--win32)
  wine=/usr/lib/wine/wine
  shift
fi
build=$(realpath "$1")
source=$(realpath "$2")
work=$3

fail() {
  echo "installer_test: FAILED: $*" >&2
  exit 1
}

if [[ ${ZARN_INSTALLER_INSIDE:-} != 1 ]]; then
  for tool in makensis xdotool import; do
    if ! command -v "$tool" >/dev/null; then
      echo "installer_test: skipped: $tool is missing (scripts/deps installs it)"
      exit 77
    fi
  done
  rm -rf "$work"
  mkdir -p "$work"
  work=$(realpath "$work")
  cpack -G NSIS --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
  installers=("$work"/zarn-tm-*.exe)
  [[ -f ${installers[0]} ]] || fail "cpack made no zarn-tm-*.exe in $work"
  echo "installer_test: $(basename "${installers[0]}"), $(stat -c %s "${installers[0]}") bytes"
  export ZARN_INSTALLER_INSIDE=1 WINEPREFIX=$work/prefix
  exec "$source/scripts/wine-run" "${bits[@]}" --display "$0" "${bits[@]}" "$build" "$source" "$work"
fi

work=$(realpath "$work")
installer=$(echo "$work"/zarn-tm-*.exe)
# Wine must not add the shortcut to this machine's own desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
drive=$WINEPREFIX/drive_c
user=$drive/users/$(id -un)
name="ZARN Turing Machine"
key="Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"

windows_path() {
  local relative=${1#"$drive"/}
  echo "C:\\${relative//\//\\}"
}

registered() {
  "$wine" reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"
}

# Starts the workbench from its shortcut, waits for its frame, keeps a
# screenshot and leaves through File > Exit.
start_from_shortcut() {
  "$wine" start /unix "$1"
  local frame=""
  for _ in $(seq 1 120); do
    frame=$(xdotool search --name "^$name\$" 2>/dev/null | head -n 1) && [[ -n $frame ]] && break
    sleep 0.5
  done
  [[ -n $frame ]] || fail "no frame titled \"$name\" appeared after starting the shortcut"
  sleep 1
  import -window root "$work/frame-from-shortcut.png"
  xdotool windowfocus --sync "$frame" key --delay 150 alt+f x
  for _ in $(seq 1 60); do
    xdotool search --name "^$name\$" >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  fail "the workbench did not end through File > Exit"
}

examples=$(find "$source/examples" -name '*.txt' | wc -l)
# mode | install folder | Start-menu folder | registry hive
rows=(
  "AllUsers|$drive/Program Files/$name|$drive/ProgramData/Microsoft/Windows/Start Menu/Programs|HKLM"
  "CurrentUser|$user/AppData/Local/Programs/$name|$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs|HKCU"
)
for row in "${rows[@]}"; do
  IFS='|' read -r mode folder menu hive <<<"$row"
  "$wine" "$installer" /S "/$mode" || fail "$mode: the installer ended with status $?"
  wineserver -w

  for file in zarn-tm.exe tm-run.exe Uninstall.exe LICENSE.txt README.txt; do
    [[ -f $folder/$file ]] || fail "$mode: $folder/$file is missing"
  done
  [[ $(find "$folder/examples" -name '*.txt' | wc -l) == "$examples" ]] || fail "$mode: not every example is installed"

  shortcut="$menu/$name.lnk"
  [[ -f $shortcut ]] || fail "$mode: no Start-menu shortcut $shortcut"
  # A shortcut's link flags (the word at 20) say whether it names an icon (0x40).
  flags=$(od -An -tu4 -j20 -N4 "$shortcut" | tr -d ' ')
  ((flags & 0x40)) || fail "$mode: the shortcut has no icon"
  grep -qa 'zarn-tm.exe' "$shortcut" || fail "$mode: the shortcut does not lead to zarn-tm.exe"

  [[ $(registered "$hive" DisplayName) == "$name" ]] || fail "$mode: not listed among installed programs in $hive"
  uninstall=$(registered "$hive" QuietUninstallString)
  [[ $uninstall == "\"$(windows_path "$folder")\\Uninstall.exe\" /$mode /S" ]] ||
    fail "$mode: the registered silent uninstall is $uninstall"

  if [[ $mode == AllUsers ]]; then
    start_from_shortcut "$shortcut"
  fi

  result=$("$wine" "$folder/tm-run.exe" "$(windows_path "$folder")\\examples\\binary_increment.txt" 2>/dev/null | tr -d '\r') ||
    fail "$mode: the installed tm-run.exe could not run an installed example"
  [[ $result == "Run complete! 8 steps." ]] || fail "$mode: the installed tm-run.exe printed: $result"

  "$wine" "$folder/Uninstall.exe" "/$mode" /S || fail "$mode: the uninstaller ended with status $?"
  # The uninstaller goes on from a copy of itself; wait for every program to end.
  wineserver -w
  [[ ! -e $folder ]] || fail "$mode: left behind: $(find "$folder")"
  [[ ! -e $shortcut ]] || fail "$mode: the shortcut is left behind"
  [[ -z $(registered "$hive" DisplayName) ]] || fail "$mode: still listed among installed programs"
  echo "installer_test: $mode: installed, ran and uninstalled without a trace"
done
echo "installer_test: passed"
