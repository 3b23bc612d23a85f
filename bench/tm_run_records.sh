#!/usr/bin/env bash
# Runs the published busy beaver results that tm-run reproduces and prints,
# for each, the time it took (wall clock and CPU), the number of digits of its
# step count with the first and last few, and whether the count matches the
# published one. The two largest take seconds, so they live here rather than
# in the tests. Goals: the first five under 1 s each, the last under 2 s of CPU.
# Usage: bench/tm_run_records.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
source bench/tm_run_setup.sh

# machine, digits of the step count, its first 9 and its last 9 digits
records=(
  "1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA 8 47176870 47176870"
  "1RB2LA1RA1RA_1LB1LA3RB1RZ 7 3932964 3932964"
  "1RB2LA1LC_0LA2RB1LB_1RZ1RA1RC 18 119112334 170342540"
  "1RB1RA_1LC1LB_0RF1LD_1RA0LE_1RZ1LF_0LA0LC 16 869033338 381690951"
  "1RB0LC_1LA1RC_1RA0LD_1LE1LC_1RF1RZ_1RA1RE 120 612351597 788910538"
  "1RB1LE_1RC1RF_1LD0RB_1RE0LC_1LA0RD_1RZ1RC 36535 741207853 260478608"
)
status=0
for record in "${records[@]}"; do
  read -r machine digits first last <<< "$record"
  echo "$machine" > "$scratch/machine.txt"
  start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S' -o "$scratch/cpu" "$tm_run" "$scratch/machine.txt" \
    > "$scratch/out" 2> /dev/null
  end=$EPOCHREALTIME
  steps=$(sed -n 's/^Run complete! \([0-9]*\) steps\.$/\1/p' "$scratch/out")
  verdict=matches
  if [[ ${#steps} -ne $digits || ${steps:0:${#first}} != "$first" ||
        ${steps: -${#last}} != "$last" ]]; then
    verdict="DIFFERS from the published count" status=1
  fi
  shown=$steps
  [[ ${#steps} -gt 18 ]] && shown="${steps:0:9}...${steps: -9}"
  printf '%-45s %8.2f s (CPU %5.2f s)  %6d digits %s  %s\n' "$machine" \
    "$(awk -v a="${start/./}" -v b="${end/./}" 'BEGIN { print (b - a) / 1e6 }')" \
    "$(awk '{ print $1 + $2 }' "$scratch/cpu")" "${#steps}" "$shown" \
    "$verdict"
done
exit $status
