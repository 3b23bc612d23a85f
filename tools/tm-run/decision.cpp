#include "tools/tm-run/decision.h"

#include "tools/tm-run/backward_reasoning_decider.h"
#include "tools/tm-run/big_count.h"
#include "tools/tm-run/cycler_decider.h"
#include "tools/tm-run/proven_rule_decider.h"
#include "tools/tm-run/translated_cycler_decider.h"

Verdict decide(const DeciderMachine& machine, const DecideBudget& budget) {
    Verdict verdict = decideCycler(machine, budget.cyclerSteps);
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideTranslatedCycler(machine, budget.translatedCyclerSteps);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideBackwardReasoning(machine, budget.backwardDepth, budget.backwardNodes);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideClosedTapeLanguage(machine, budget.windows);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideProvenRule(machine, budget.provenRuleSteps);
    }
    // Blocks hide which transition halted; a plain run that far tells.
    const auto steps = int64Of(verdict.steps);
    if (verdict.kind == VerdictKind::Halts && steps && *steps <= budget.provenRuleSteps) {
        verdict = decideCycler(machine, *steps);
    }
    return verdict;
}
