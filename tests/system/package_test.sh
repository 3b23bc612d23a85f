#!/usr/bin/env bash
# Builds the Debian package with cpack, checks its dependencies (Qt 6's
# runtime libraries and the fonts, no development package), lints it with
# lintian (no error, no warning), unpacks it into a scratch root with dpkg -x
# and starts both programs from there: tm-run --version, and zarn-tm with a
# file on Qt's offscreen platform, which must still be running when it is
# stopped after a few seconds.
# Usage: package_test.sh BUILD_FOLDER WORK_FOLDER
set -euo pipefail

build=$(realpath "$1")
work=$2

for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "package_test: skipped: $tool is missing (scripts/deps installs dpkg-dev)"
    exit 77
  fi
done

fail() {
  echo "package_test: FAILED: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
packages=("$work"/zarn-tm_*.deb)
[[ -f ${packages[0]} ]] || fail "cpack made no zarn-tm_*.deb in $work"
package=${packages[0]}

depends=$(dpkg-deb --field "$package" Depends)
# One package name a line, without versions and alternatives.
names=$(sed -e 's/([^)]*)//g' -e 's/[,|]/\n/g' <<<"$depends" | tr -d ' ')
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 fonts-dejavu-core; do
  grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done
if grep -q -- '-dev$' <<<"$names"; then
  fail "Depends names a development package: $depends"
fi

# Debian's own checker must find neither error nor warning.
if command -v lintian >/dev/null; then
  lint=$(lintian --tag-display-limit 0 "$package" 2>&1) || true
  if grep -E '^[EW]: ' <<<"$lint"; then
    fail "lintian complains about the package"
  fi
else
  echo "package_test: lintian is missing (scripts/deps installs it), so the package goes unlinted"
fi

root=$work/root
dpkg -x "$package" "$root"
for path in usr/bin/zarn-tm usr/bin/tm-run usr/share/applications/org.zarn_tm.ZarnTM.desktop \
  usr/share/metainfo/org.zarn_tm.ZarnTM.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/zarn-tm.png usr/share/man/man1/zarn-tm.1.gz \
  usr/share/man/man1/tm-run.1.gz usr/share/zarn-tm/examples/busy_beaver_2.txt; do
  [[ -e $root/$path ]] || fail "the package lacks /$path"
done

version=$("$root/usr/bin/tm-run" --version) || fail "tm-run --version failed"
[[ $version == "tm-run (ZARN Turing Machine) 1.00" ]] || fail "tm-run --version printed: $version"

status=0
QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/zarn-tm" \
  "$root/usr/share/zarn-tm/examples/busy_beaver_2.txt" >"$work/zarn-tm.log" 2>&1 || status=$?
((status == 124)) || fail "zarn-tm from the package ended with status $status instead of running:
$(cat "$work/zarn-tm.log")"

echo "package_test: passed: $(basename "$package"), Depends: $depends"
