#!/usr/bin/env bash
# Enumerates the machines of each size in tree normal form with
# tm-run --enumerate and prints, for each size, the time it took (wall clock
# and CPU), the most steps and most ones found, and how many machines were
# left undecided, and how many machines each never-halting reason decided.
# Goal: 4x2 in under a minute on two cores, none undecided (finite automata
# decide its last 5 machines, binary counters).
# Usage: bench/tm_run_enumerate.sh [BUILD_DIR] [SIZE...]   (default 2x2 3x2 2x3 4x2)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
shift || true
source bench/tm_run_setup.sh

sizes=("$@")
[[ ${#sizes[@]} -eq 0 ]] && sizes=(2x2 3x2 2x3 4x2)
for size in "${sizes[@]}"; do
  start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S' -o "$scratch/cpu" "$tm_run" --enumerate "$size" \
    > "$scratch/out" 2> /dev/null || true
  end=$EPOCHREALTIME
  printf '%-4s %8.2f s (CPU %6.2f s)  most steps %s, most ones %s, undecided %s\n' "$size" \
    "$(awk -v a="${start/./}" -v b="${end/./}" 'BEGIN { print (b - a) / 1e6 }')" \
    "$(awk 'END { print $1 + $2 }' "$scratch/cpu")" \
    "$(sed -n 's/^most steps: \([0-9]*\).*/\1/p' "$scratch/out")" \
    "$(sed -n 's/^most ones: \([0-9]*\).*/\1/p' "$scratch/out")" \
    "$(sed -n 's/^undecided: \([0-9]*\)$/\1/p' "$scratch/out")"
  sed -n 's/^never halt, /     /p' "$scratch/out"
done
