#!/usr/bin/env bash
# Times tm-run (which skips ahead) against tm-run --plain in CPU time (user +
# system, so that other work on the machine does not blur it) and prints each
# ratio, accelerated / plain:
#   - binary counters that halt after 5, 12, 16,369 and 131,055 steps, and the
#     5-state busy beaver (47,176,870 steps): the median of 9 runs in turn.
#     Goal: no more than 10% or 1 ms slower than plain, whichever is more, and
#     the busy beaver in at most 5 ms.
#   - 80 random five-state, three-symbol machines (the same 80 every time) for
#     20 million steps each: the least of 3 runs. Goal: none more than 10%
#     slower than plain (1.10).
# With a second build folder, its tm-run (an earlier version, say) is timed
# on the short runs in the same turns and shown beside.
# Usage: bench/tm_run_random_ratio.sh [BUILD_DIR] [OTHER_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
other=${2:+$2/tools/tm-run}
source bench/tm_run_setup.sh

python3 - "$tm_run" "$scratch" "$other" <<'PY'
import random, resource, statistics, subprocess, sys

tm_run, scratch, other = sys.argv[1:4]

def cpu_seconds(program, arguments, path, stdin=None):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([program, *arguments, path], input=stdin, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

# Counts up in binary on `bits` digits and halts when the count overflows.
def counter(bits):
    path = f"{scratch}/counter{bits}.txt"
    with open(path, "w") as file:
        file.write(f"tape({'0' * bits}.)\nstart(return)\nfinish(done)\n"
                   "(add,0,return,1,R)\n(add,^,done,^,N)\n(add,1,add,0,L)\n"
                   "(return,0,return,0,R)\n(return,1,return,1,R)\n(return,^,add,^,L)\n")
    return path

short_runs = [(f"counter of {bits} bits", counter(bits)) for bits in (1, 2, 12, 15)]
short_runs.append(("5-state busy beaver", f"{scratch}/bb5.txt"))
print("Short runs, CPU time, median of 9 runs in turn")
for name, path in short_runs:
    times = {"plain": [], "fast": [], "other": []}
    for _ in range(9):
        times["plain"].append(cpu_seconds(tm_run, ["--plain"], path))
        times["fast"].append(cpu_seconds(tm_run, [], path))
        if other:
            times["other"].append(cpu_seconds(other, [], path))
    plain, fast = statistics.median(times["plain"]), statistics.median(times["fast"])
    line = (f"  {name:22} plain {plain * 1000:7.2f} ms  tm-run {fast * 1000:7.2f} ms"
            f"  ratio {fast / max(plain, 1e-6):5.2f}")
    if other:
        earlier = statistics.median(times["other"])
        line += f"   other {earlier * 1000:7.2f} ms  ratio {earlier / max(plain, 1e-6):5.2f}"
    ok = fast <= max(1.10 * plain, plain + 0.001)
    print(line + ("" if ok else "   (more than 10% and 1 ms slower)"))

rng = random.Random(21)
worst = (0.0, "")
print("80 random machines, 20 million steps, CPU time, least of 3 runs")
for machine in range(80):
    text = "_".join(
        "".join(str(rng.randrange(3)) + rng.choice("LR") + "ABCDE"[rng.randrange(5)]
                for symbol in range(3))
        for state in range(5)) + "\n"
    fast = min(cpu_seconds(tm_run, ["--max-steps", "20000000"], "-", text.encode())
               for _ in range(3))
    plain = min(cpu_seconds(tm_run, ["--plain", "--max-steps", "20000000"], "-", text.encode())
                for _ in range(3))
    ratio = fast / max(plain, 1e-6)
    print(f"  {text.strip()}  {fast * 1000:7.1f} ms  plain {plain * 1000:7.1f} ms  ratio {ratio:.2f}")
    worst = max(worst, (ratio, text.strip()))
print(f"worst ratio accelerated / plain over 80 machines: {worst[0]:.2f} ({worst[1]})  (goal <= 1.10)")
PY
