#include "tools/tm-run/cycler_decider.h"

#include "tools/tm-run/decider_run.h"

Verdict decideCycler(const DeciderMachine& machine, std::int64_t budget) {
    // Brent's way: keep the configuration at each power of two and compare
    // every later one with it, so a cycle is met within a few of its lengths
    // past where it begins, at the cost of one copy per doubling.
    DeciderRun run(machine);
    DeciderRun kept = run;
    std::int64_t nextKept = 1;
    while (run.steps() < budget) {
        const int state = run.state();
        const int symbol = run.read();
        if (!run.step()) {
            return haltedVerdict(run, state, symbol);
        }
        if (run.sameConfiguration(kept)) {
            Verdict verdict;
            verdict.kind = VerdictKind::Cycler;
            verdict.t1 = kept.steps();
            verdict.t2 = run.steps();
            return verdict;
        }
        if (run.steps() == nextKept) {
            kept = run;
            nextKept *= 2;
        }
    }
    return {};
}
