#include "tools/tm-run/tree_enumeration.h"

#include <algorithm>

#include "tools/tm-run/big_count.h"

namespace {

class Enumeration {
public:
    Enumeration(int states, int symbols, const DecideBudget& budget,
                const std::function<void(std::int64_t)>& progress)
        : states(states), symbols(symbols), budget(budget), progress(progress) {}

    void visit(DeciderMachine& machine, int statesUsed, int symbolsUsed, bool first) {
        const Verdict verdict = decide(machine, budget);
        if (verdict.kind != VerdictKind::Halts) {
            count(verdict, machine);
            return;
        }
        DeciderTransition& open = machine.at(verdict.haltState, verdict.haltSymbol);
        // The halt writes a 1 and moves on, so that it counts for the ones.
        open = {1, 1, DeciderTransition::halt, true};
        count(decide(machine, budget), machine);
        const int nextStates = std::min(states, statesUsed + 1);
        const int nextSymbols = std::min(symbols, symbolsUsed + 1);
        for (int next = 0; next < nextStates; ++next) {
            for (int write = 0; write < nextSymbols; ++write) {
                for (const std::int8_t move : {std::int8_t{1}, std::int8_t{-1}}) {
                    // A machine whose first move goes left is the mirror
                    // image of one going right, and halts or not alike.
                    if (first && move < 0) {
                        continue;
                    }
                    open = {static_cast<std::uint8_t>(write), move, static_cast<std::uint8_t>(next),
                            true};
                    visit(machine, std::max(statesUsed, next + 1),
                          std::max(symbolsUsed, write + 1), false);
                }
            }
        }
        open = {};
    }

    EnumerationTally tally;

private:
    void count(const Verdict& verdict, const DeciderMachine& machine) {
        ++tally.machines;
        ++tally.byKind[static_cast<int>(verdict.kind)];
        if (verdict.kind == VerdictKind::Undecided) {
            tally.undecidedMachines.push_back(oneLineOf(machine));
        } else if (verdict.kind == VerdictKind::Halts) {
            ++tally.halting;
            if (verdict.steps > tally.mostSteps) {
                tally.mostSteps = verdict.steps;
                tally.mostStepsMachine = oneLineOf(machine);
            }
            std::int64_t ones = 0;
            for (std::size_t symbol = 0; symbol < verdict.counts->symbols.size(); ++symbol) {
                if (symbol != static_cast<unsigned char>(machine.symbolNames[0])) {
                    ones += int64Of(verdict.counts->symbols[symbol]).value_or(0);
                }
            }
            if (ones > tally.mostOnes) {
                tally.mostOnes = ones;
                tally.mostOnesMachine = oneLineOf(machine);
            }
        }
        if ((tally.machines & 1023) == 0) {
            progress(tally.machines);
        }
    }

    int states;
    int symbols;
    const DecideBudget& budget;
    const std::function<void(std::int64_t)>& progress;
};

}  // namespace

EnumerationTally enumerateTreeNormalForm(int states, int symbols, const DecideBudget& budget,
                                         const std::function<void(std::int64_t)>& progress) {
    Enumeration enumeration(states, symbols, budget, progress);
    DeciderMachine machine = blankDeciderMachine(states, symbols);
    enumeration.visit(machine, 1, 1, true);
    return enumeration.tally;
}
