#!/usr/bin/env bash
# Measures tm-run --plain, which steps one rule at a time, against the minimal
# reference stepper on the 5-state busy beaver (47,176,870 steps) and prints the
# ratio of their costs per step, then shows that its peak memory follows the
# tape it visits, not its steps. bench/tm_run_accelerated.sh times the default.
# Usage: bench/tm_run_ratio.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
source bench/tm_run_setup.sh
printf 'tape()\nstart(a)\nfinish(h)\n(a,^,a,1,R)\n' > "$scratch/walker.txt"
printf 'tape(.1)\nstart(a)\nfinish(h)\n(a,1,h,1,N)\n' > "$scratch/one_step.txt"

runs=5
steps=47176870

# Best of $runs wall-clock times in nanoseconds; sets best_ns and peak_kib
# (the largest resident set of any of the runs).
measure() {
  best_ns=0
  peak_kib=0
  for ((i = 0; i < runs; i++)); do
    local start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$scratch/rss" "$@" > /dev/null 2>&1 || [[ $? -eq 3 ]]
    local end=$EPOCHREALTIME
    local ns=$(( (${end/./} - ${start/./}) * 1000 ))
    (( best_ns == 0 || ns < best_ns )) && best_ns=$ns
    local kib
    kib=$(tail -n 1 "$scratch/rss")
    (( kib > peak_kib )) && peak_kib=$kib
  done
  return 0
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
per_step() { awk -v ns="$1" -v n="$2" 'BEGIN { printf "%.2f", ns / n }'; }

measure "$reference"
ref_ns=$best_ns ref_kib=$peak_kib
measure "$tm_run" --plain "$scratch/bb5.txt"
run_ns=$best_ns run_kib=$peak_kib
measure "$tm_run" --plain --tape "$scratch/bb5.txt"
tape_ns=$best_ns
trace_steps=2000000
measure "$tm_run" --max-steps $trace_steps --trace /dev/null examples/binary_counter.txt
trace_ns=$best_ns trace_kib=$peak_kib
measure "$tm_run" "$scratch/one_step.txt"
idle_kib=$peak_kib
measure "$tm_run" --plain --max-steps 50000000 examples/binary_counter.txt
counter_kib=$peak_kib
measure "$tm_run" --plain --max-steps 50000000 "$scratch/walker.txt"
walker_kib=$peak_kib

echo "5-state busy beaver, $steps steps, best of $runs runs (whole processes)"
echo "  reference stepper     $(per_step "$ref_ns" $steps) ns/step"
echo "  tm-run --plain        $(per_step "$run_ns" $steps) ns/step   ratio $(ratio "$run_ns" "$ref_ns")  (target <= 4)"
echo "  tm-run --plain --tape $(per_step "$tape_ns" $steps) ns/step   ratio $(ratio "$tape_ns" "$ref_ns")"
echo "  tm-run --trace         $(per_step "$trace_ns" $trace_steps) ns/step   (binary counter, $trace_steps steps, to /dev/null)"
echo "Peak resident memory"
echo "  reference stepper, busy beaver           ${ref_kib} KiB"
echo "  tm-run --plain, busy beaver (12,289 cells) ${run_kib} KiB   ratio $(ratio "$run_kib" "$ref_kib")"
echo "  tm-run, one step                         ${idle_kib} KiB"
echo "  tm-run --plain, binary counter, 50M steps ${counter_kib} KiB   (few cells: as one step)"
echo "  tm-run --trace, binary counter, 2M steps ${trace_kib} KiB   (streamed: as one step)"
echo "  tm-run --plain, walker, 50M steps         ${walker_kib} KiB   (about 1 KiB per 1024 cells)"
