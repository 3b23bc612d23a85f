#!/usr/bin/env bash
# What drawing the picture of the five-state champion's first 10,000 steps
# adds to its run: runs tm-run on it with and without --picture, alternating,
# and prints the median wall-clock and CPU times of each and their difference.
# Goal: under 1 s more with the picture.
# Usage: bench/tm_run_picture.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
rounds=${2:-5}
tm_run=$build/tools/tm-run
[[ -x $tm_run ]] || { echo "missing $tm_run: build $build first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "needs GNU time (Debian package: time)" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "1RB1LC_1RC1RB_1RD0LE_1LA1LD_---0LA" > "$scratch/champion.txt"

# Appends "wall cpu" in seconds to the file named first; the rest is the command.
timed() {
  local into=$1 start end
  shift
  start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S' -o "$scratch/cpu" "$@" > /dev/null 2>&1 || true
  end=$EPOCHREALTIME
  awk -v a="${start/./}" -v b="${end/./}" '{ print (b - a) / 1e6, $1 + $2 }' \
    "$scratch/cpu" >> "$into"
}
median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

for ((round = 0; round < rounds; ++round)); do
  timed "$scratch/without" "$tm_run" "$scratch/champion.txt"
  timed "$scratch/with" "$tm_run" --picture "$scratch/champion.png" --picture-steps 10000 \
    "$scratch/champion.txt"
done
[[ -s $scratch/champion.png ]] || { echo "no picture was written" >&2; exit 1; }

wall=() cpu=()
for kind in without with; do
  wall+=($(cut -d' ' -f1 "$scratch/$kind" | median))
  cpu+=($(cut -d' ' -f2 "$scratch/$kind" | median))
done
printf 'champion, median of %d runs   wall s   CPU s\n' "$rounds"
printf 'without the picture        %8.2f %7.2f\n' "${wall[0]}" "${cpu[0]}"
printf 'with 10,000 steps drawn    %8.2f %7.2f\n' "${wall[1]}" "${cpu[1]}"
printf 'the picture adds           %8.2f %7.2f  (goal: under 1 s)\n' \
  "$(awk -v a="${wall[0]}" -v b="${wall[1]}" 'BEGIN { print b - a }')" \
  "$(awk -v a="${cpu[0]}" -v b="${cpu[1]}" 'BEGIN { print b - a }')"
