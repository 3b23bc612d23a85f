#!/usr/bin/env bash
# Times tm-run skipping ahead (its default) against tm-run --plain on the
# 5-state busy beaver (47,176,870 steps), both in the same run and in turn, and
# prints the medians and their ratio. Then times a constructed machine of
# 125,000,250,001 steps, which only the accelerated run can finish in seconds,
# and checks its count. Peak memory is printed for each.
# Usage: bench/tm_run_accelerated.sh [BUILD_DIR] [--check-plain]
#   --check-plain also runs the long machine with --plain once (minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
check_plain=no
for argument in "$@"; do
  case $argument in
    --check-plain) check_plain=yes ;;
    *) build=$argument ;;
  esac
done
source bench/tm_run_setup.sh

# The sweeper converts n ones to x one at a time; after each it walks right to
# append a y at the far end and back to the next one: 2n + 1 steps a round and
# one more to halt, 2n^2 + n + 1 steps in all.
ones=250000
sweeper_steps=$((2 * ones * ones + ones + 1))
{
  printf 'tape(.'
  head -c $ones /dev/zero | tr '\0' 1
  printf ')\nstart(S)\nfinish(H)\n(S,1,W,x,R)\n(S,y,H,y,N)\n(W,1,W,1,R)\n(W,y,W,y,R)\n'
  printf '(W,^,B,y,L)\n(B,y,B,y,L)\n(B,1,B,1,L)\n(B,x,S,x,R)\n'
} > "$scratch/sweeper.txt"

# One run: sets run_ns, run_kib and run_out.
run_once() {
  local start=$EPOCHREALTIME
  run_out=$(/usr/bin/time -f '%M' -o "$scratch/rss" "$@" 2> /dev/null)
  local end=$EPOCHREALTIME
  run_ns=$(( (${end/./} - ${start/./}) * 1000 ))
  run_kib=$(tail -n 1 "$scratch/rss")
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { awk -v ns="$1" 'BEGIN { printf "%.1f ms", ns / 1e6 }'; }

runs=7
plain_times=() fast_times=() ratios=()
for ((i = 0; i < runs; i++)); do
  run_once "$tm_run" --plain "$scratch/bb5.txt"
  plain_ns=$run_ns plain_kib=$run_kib
  run_once "$tm_run" "$scratch/bb5.txt"
  [[ $run_out == "Run complete! 47176870 steps." ]] || { echo "wrong result: $run_out" >&2; exit 1; }
  plain_times+=("$plain_ns") fast_times+=("$run_ns")
  ratios+=("$(awk -v a="$plain_ns" -v b="$run_ns" 'BEGIN { printf "%.2f", a / b }')")
done
echo "5-state busy beaver, 47,176,870 steps, median of $runs runs in turn (whole processes)"
echo "  tm-run --plain   $(ms "$(median "${plain_times[@]}")")   peak ${plain_kib} KiB"
echo "  tm-run           $(ms "$(median "${fast_times[@]}")")   peak ${run_kib} KiB"
echo "  plain / accelerated: median ratio $(median "${ratios[@]}")  (target >= 20)"

sweeper_times=()
for ((i = 0; i < 3; i++)); do
  run_once "$tm_run" "$scratch/sweeper.txt"
  [[ $run_out == "Run complete! $sweeper_steps steps." ]] ||
    { echo "wrong result: $run_out" >&2; exit 1; }
  sweeper_times+=("$run_ns")
done
echo "Sweeper of $ones ones, $sweeper_steps steps, median of 3 runs"
echo "  tm-run           $(ms "$(median "${sweeper_times[@]}")")   peak ${run_kib} KiB  (target < 10 s)"
if [[ $check_plain == yes ]]; then
  run_once "$tm_run" --plain "$scratch/sweeper.txt"
  echo "  tm-run --plain   $(ms "$run_ns")   peak ${run_kib} KiB   says: $run_out"
fi
