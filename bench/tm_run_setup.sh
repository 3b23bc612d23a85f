# Sourced by the tm-run benchmark scripts once they have set $build: checks
# that the programs are built, makes a scratch folder that goes with the
# script, and writes the 5-state busy beaver into it as $scratch/bb5.txt.
tm_run=$build/tools/tm-run
reference=$build/bench/tm_run_reference
for program in "$tm_run" "$reference"; do
  [[ -x $program ]] || { echo "missing $program: build $build first" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "needs GNU time (Debian package: time)" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$reference" --description > "$scratch/bb5.txt"
