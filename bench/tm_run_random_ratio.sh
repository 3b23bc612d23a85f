#!/usr/bin/env bash
# Runs 80 random five-state, three-symbol machines (the same 80 every time)
# for 20 million steps each, with tm-run and with tm-run --plain, and prints
# each machine's ratio of CPU time (user + system, accelerated / plain, the
# least of 3 runs each: CPU time, not wall time, so that other work on the
# machine does not blur it) and the worst. The goal: no machine more than 10%
# slower than plain (1.10).
# Usage: bench/tm_run_random_ratio.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
source bench/tm_run_setup.sh

python3 - "$tm_run" <<'PY'
import random, resource, subprocess, sys

tm_run = sys.argv[1]
rng = random.Random(21)

def cpu_seconds(arguments, text):
    """The least CPU time of 3 runs of tm-run with `arguments` on `text`."""
    best = None
    for _ in range(3):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run([tm_run, *arguments, "-"], input=text.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = used if best is None else min(best, used)
    return best

worst = (0.0, "")
for machine in range(80):
    text = "_".join(
        "".join(str(rng.randrange(3)) + rng.choice("LR") + "ABCDE"[rng.randrange(5)]
                for symbol in range(3))
        for state in range(5)) + "\n"
    fast = cpu_seconds(["--max-steps", "20000000"], text)
    plain = cpu_seconds(["--plain", "--max-steps", "20000000"], text)
    ratio = fast / max(plain, 1e-6)
    print(f"{text.strip()}  {fast * 1000:7.1f} ms  plain {plain * 1000:7.1f} ms  ratio {ratio:.2f}")
    worst = max(worst, (ratio, text.strip()))
print(f"worst ratio accelerated / plain over 80 machines: {worst[0]:.2f} ({worst[1]})  (goal <= 1.10)")
PY
