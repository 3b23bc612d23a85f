#!/usr/bin/env bash
# Runs tm-run.exe under Wine on the five-state busy beaver and checks the result
# that the example documents, as the Linux build's tests check it: the step
# count on the first line and the count of ones in the tape report. Windows
# ends lines with CR LF; otherwise the output is that of the Linux tm-run.
# Usage: tm_run_wine_test.sh [--win32] TM_RUN_EXE EXAMPLES_FOLDER
set -euo pipefail
cd "$(dirname "$0")/../.."

bits=()
if [[ $1 == --win32 ]]; then
  bits=(--win32)
  shift
fi
program=$1
example=$2/busy_beaver_5.txt

steps=$(sed -n 's/^# expect-steps: //p' "$example")
ones=$(sed -n 's/^# expect-symbol-count: 1 //p' "$example")
status=0
output=$(scripts/wine-run "${bits[@]}" "$program" --tape "Z:${example//\//\\}") || status=$?
((status != 77)) || { echo "$output"; exit 77; }
output=$(tr -d '\r' <<<"$output")
((status == 0)) || { echo "tm_run_wine_test: FAILED: status $status: $output" >&2; exit 1; }
[[ $(head -n 1 <<<"$output") == "Run complete! $steps steps." ]] ||
  { echo "tm_run_wine_test: FAILED: the first line is $(head -n 1 <<<"$output")" >&2; exit 1; }
grep -qxF "symbol '1': $ones" <<<"$output" ||
  { echo "tm_run_wine_test: FAILED: no \"symbol '1': $ones\" in the tape report" >&2; exit 1; }
echo "tm_run_wine_test: passed: $steps steps, $ones ones"
