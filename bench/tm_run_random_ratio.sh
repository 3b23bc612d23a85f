#!/usr/bin/env bash
# Runs 80 random five-state, three-symbol machines (the same 80 every time)
# for 20 million steps each, with tm-run and with tm-run --plain, and prints
# each machine's time ratio (accelerated / plain, the better of 3 runs each)
# and the worst. The goal: no machine more than 10% slower than plain (1.10).
# Usage: bench/tm_run_random_ratio.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
source bench/tm_run_setup.sh

python3 - "$scratch" <<'PY'
import random, sys
rng = random.Random(21)
for machine in range(80):
    states = []
    for state in range(5):
        states.append("".join(
            str(rng.randrange(3)) + rng.choice("LR") + "ABCDE"[rng.randrange(5)]
            for symbol in range(3)))
    with open(f"{sys.argv[1]}/random{machine:02d}.txt", "w") as out:
        out.write("_".join(states) + "\n")
PY

# The better of 3 runs, in nanoseconds, of the command; sets best_ns.
best_of_3() {
  best_ns=
  for ((i = 0; i < 3; i++)); do
    local start=$EPOCHREALTIME
    "$@" > /dev/null 2>&1 || true
    local end=$EPOCHREALTIME
    local ns=$(( (${end/./} - ${start/./}) * 1000 ))
    if [[ -z $best_ns || $ns -lt $best_ns ]]; then best_ns=$ns; fi
  done
}

worst=0 worst_machine=
for file in "$scratch"/random*.txt; do
  best_of_3 "$tm_run" --max-steps 20000000 "$file"
  fast=$best_ns
  best_of_3 "$tm_run" --plain --max-steps 20000000 "$file"
  plain=$best_ns
  ratio=$(awk -v a="$fast" -v b="$plain" 'BEGIN { printf "%.2f", a / b }')
  printf '%s  %6.1f ms  plain %6.1f ms  ratio %s\n' "$(cat "$file")" \
    "$(awk -v n="$fast" 'BEGIN { print n / 1e6 }')" "$(awk -v n="$plain" 'BEGIN { print n / 1e6 }')" "$ratio"
  if awk -v r="$ratio" -v w="$worst" 'BEGIN { exit !(r > w) }'; then
    worst=$ratio worst_machine=$(cat "$file")
  fi
done
echo "worst ratio accelerated / plain over 80 machines: $worst ($worst_machine)  (goal <= 1.10)"
