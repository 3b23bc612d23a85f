#!/usr/bin/env bash
# Installs the build into a scratch prefix with cmake --install and checks what
# a desktop finds there: both programs (tm-run runs an installed example), the
# desktop entry (desktop-file-validate reports neither error nor warning), the
# AppStream metainfo that software centres read (appstreamcli validate, the
# same, without fetching the screenshots from the web), the icon at every size
# of the hicolor theme, the man pages and the examples.
# Usage: install_test.sh BUILD_FOLDER SOURCE_FOLDER WORK_FOLDER
set -euo pipefail

build=$1
source=$2
work=$3

for tool in desktop-file-validate appstreamcli; do
  if ! command -v $tool >/dev/null; then
    echo "install_test: skipped: $tool is missing (scripts/deps installs desktop-file-utils and appstream)"
    exit 77
  fi
done

fail() {
  echo "install_test: FAILED: $*" >&2
  exit 1
}

rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work.log" 2>&1 || fail "cmake --install failed: $(cat "$work.log")"

for program in zarn-tm tm-run; do
  [[ -x $prefix/bin/$program ]] || fail "bin/$program is missing or not executable"
done

id=org.zarn_tm.ZarnTM
entry=$prefix/share/applications/$id.desktop
[[ -f $entry ]] || fail "share/applications/$id.desktop is missing"
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
if grep -E 'error|warning' <<<"$report"; then
  fail "desktop-file-validate complains about the entry"
fi
for line in 'Exec=zarn-tm %F' 'MimeType=text/plain;' 'Categories=Education;Development;' 'Icon=zarn-tm'; do
  grep -qxF "$line" "$entry" || fail "the desktop entry lacks the line $line"
done

metainfo=$prefix/share/metainfo/$id.metainfo.xml
[[ -f $metainfo ]] || fail "share/metainfo/$id.metainfo.xml is missing"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $report"
if grep -E '^[EW]:' <<<"$report"; then
  fail "appstreamcli complains about the metainfo"
fi

# A PNG's width and height are the two big-endian words after its IHDR tag.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/zarn-tm.png
  [[ -f $icon ]] || fail "the ${size}x$size icon is missing"
  [[ $(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$icon is not a PNG"
  [[ $(png_size "$icon") == "${size}x$size" ]] || fail "$icon is $(png_size "$icon"), not ${size}x$size"
done

for page in zarn-tm tm-run; do
  manual=$prefix/share/man/man1/$page.1.gz
  [[ -f $manual ]] || fail "share/man/man1/$page.1.gz is missing"
  gzip -dc "$manual" | grep -q "^\.TH ${page^^} 1" || fail "$manual is not the man page of $page"
done

diff -r "$source/examples" "$prefix/share/zarn-tm/examples" || fail "the installed examples differ from examples/"

result=$("$prefix/bin/tm-run" "$prefix/share/zarn-tm/examples/binary_increment.txt" 2>/dev/null) ||
  fail "the installed tm-run could not run an installed example"
[[ $result == "Run complete! 8 steps." ]] || fail "the installed tm-run printed: $result"

echo "install_test: passed: $(find "$prefix" -type f | wc -l) files installed under $prefix"
