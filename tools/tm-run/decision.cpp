#include "tools/tm-run/decision.h"

#include <algorithm>

#include "tools/tm-run/backward_reasoning_decider.h"
#include "tools/tm-run/big_count.h"
#include "tools/tm-run/cycler_decider.h"
#include "tools/tm-run/proven_rule_decider.h"
#include "tools/tm-run/repeated_word_decider.h"
#include "tools/tm-run/translated_cycler_decider.h"

Verdict decide(const DeciderMachine& machine, const DecideBudget& budget) {
    // Most machines halt, cycle or drift off within a few hundred steps, so
    // short runs go first and the costlier searches only see what is left.
    Verdict verdict = decideCycler(machine, std::min(budget.quickSteps, budget.cyclerSteps));
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideTranslatedCycler(machine,
                                         std::min(budget.quickSteps, budget.translatedCyclerSteps));
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideBackwardReasoning(machine, budget.backwardDepth, budget.backwardNodes);
    }
    if (verdict.kind == VerdictKind::Undecided && budget.cyclerSteps > budget.quickSteps) {
        verdict = decideCycler(machine, budget.cyclerSteps);
    }
    if (verdict.kind == VerdictKind::Undecided &&
        budget.translatedCyclerSteps > budget.quickSteps) {
        verdict = decideTranslatedCycler(machine, budget.translatedCyclerSteps);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideClosedTapeLanguage(machine, budget.windows);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideProvenRule(machine, budget.provenRuleSteps, budget.provenRuleMacroSteps);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideRepeatedWords(machine, budget.words);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideClosedTapeLanguageOfWriters(machine, budget.writerWindows);
    }
    if (verdict.kind == VerdictKind::Undecided) {
        verdict = decideFiniteAutomata(machine, budget.automata);
    }
    // Blocks hide which transition halted; a plain run that far tells.
    const auto steps = int64Of(verdict.steps);
    if (verdict.kind == VerdictKind::Halts && steps && *steps <= budget.provenRuleSteps) {
        verdict = decideCycler(machine, *steps);
    }
    return verdict;
}
