#!/usr/bin/env bash
# Packs the portable zip with cpack and checks what a Windows user unpacks:
# one folder holding zarn-tm.exe and tm-run.exe (Windows programs), every
# example, LICENSE.txt and README.txt, and nothing else; every text file with
# CR LF line breaks only.
# Usage: zip_test.sh BUILD_FOLDER SOURCE_FOLDER WORK_FOLDER
set -euo pipefail

build=$(realpath "$1")
source=$2
work=$3

fail() {
  echo "zip_test: FAILED: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
archives=("$work"/zarn-tm-*.zip)
[[ -f ${archives[0]} ]] || fail "cpack made no zarn-tm-*.zip in $work"
archive=${archives[0]}
folder=$(basename "$archive" .zip)

expected=("$folder/LICENSE.txt" "$folder/README.txt" "$folder/tm-run.exe" "$folder/zarn-tm.exe")
for example in "$source"/examples/*.txt; do
  expected+=("$folder/examples/$(basename "$example")")
done
# The listing, and every text file checked for line breaks, by Python's zipfile.
report=$(python3 - "$archive" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as archive:
    for name in sorted(archive.namelist()):
        if name.endswith("/"):
            continue
        data = archive.read(name)
        if name.endswith(".exe"):
            kind = "program" if data[:2] == b"MZ" else "not-a-program"
        else:
            lines = data.count(b"\n")
            kind = "crlf" if lines > 0 and data.count(b"\r\n") == lines and data.count(b"\r") == lines else "not-crlf"
        print(name, kind)
PY
)
listing=$(cut -d' ' -f1 <<<"$report")
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
[[ $(LC_ALL=C sort <<<"$listing") == "$wanted" ]] ||
  fail "the zip holds other files than expected:$(diff <(echo "$wanted") <(LC_ALL=C sort <<<"$listing"))"
if bad=$(grep -E ' not-' <<<"$report"); then
  fail "wrong kind of file: $bad"
fi

echo "zip_test: passed: $(basename "$archive"), $(stat -c %s "$archive") bytes, $(wc -l <<<"$listing") files"
