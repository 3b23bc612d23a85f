#!/usr/bin/env bash
# Redraws the README's pictures of runs with tm-run --picture:
#   docs/champion-steps.png  the five-state champion's first 10,000 steps
#   docs/counter-steps.png   examples/binary_counter.txt's first 1,000 steps
set -euo pipefail
cd "$(dirname "$0")/.."

tm_run=${1:-build/default/tools/tm-run}
[[ -x $tm_run ]] || { echo "docs/run-pictures.sh: build $tm_run first" >&2; exit 1; }

rm -f docs/champion-steps.png docs/counter-steps.png
# Both run on past the pictured steps: the limit only keeps the counter from
# counting for ever, and the champion stops where its last rule is missing.
echo 1RB1LC_1RC1RB_1RD0LE_1LA1LD_---0LA |
  "$tm_run" --picture docs/champion-steps.png --picture-steps 10000 - 2>/dev/null || true
"$tm_run" --picture docs/counter-steps.png --max-steps 1000 examples/binary_counter.txt \
  2>/dev/null || true
for picture in docs/champion-steps.png docs/counter-steps.png; do
  [[ -s $picture ]] || { echo "docs/run-pictures.sh: $picture was not drawn" >&2; exit 1; }
done
