#include "tools/tm-run/tree_enumeration.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "tools/tm-run/big_count.h"

namespace {

// The machines with this many transitions defined root the subtrees that
// the threads share out: enough of them to keep every thread busy.
constexpr int subtreeDepth = 3;

struct Subtree {
    DeciderMachine machine;
    int statesUsed;
    int symbolsUsed;
};

class Enumeration {
public:
    // Only the enumeration with a `progress` reports; `counted` is shared.
    Enumeration(int states, int symbols, const DecideBudget& budget,
                std::atomic<std::int64_t>& counted,
                const std::function<void(std::int64_t)>* progress)
        : states(states), symbols(symbols), budget(budget), counted(counted), progress(progress) {}

    // With `subtrees`, the machines at subtreeDepth go there instead of
    // being visited.
    void visit(DeciderMachine& machine, int statesUsed, int symbolsUsed, int defined,
               std::vector<Subtree>* subtrees) {
        if (subtrees != nullptr && defined == subtreeDepth) {
            subtrees->push_back({machine, statesUsed, symbolsUsed});
            return;
        }
        const Verdict verdict = decide(machine, budget);
        // A halt that blocks of cells found beyond the budget does not tell
        // which transition halted, so the tree cannot grow there.
        if (verdict.kind == VerdictKind::Halts &&
            machine.at(verdict.haltState, verdict.haltSymbol).defined) {
            count(Verdict{}, machine);
            return;
        }
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
                    if (defined == 0 && move < 0) {
                        continue;
                    }
                    open = {static_cast<std::uint8_t>(write), move, static_cast<std::uint8_t>(next),
                            true};
                    visit(machine, std::max(statesUsed, next + 1), std::max(symbolsUsed, write + 1),
                          defined + 1, subtrees);
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
        const std::int64_t total = ++counted;
        if (progress != nullptr && (tally.machines & 1023) == 0) {
            (*progress)(total);
        }
    }

    int states;
    int symbols;
    const DecideBudget& budget;
    std::atomic<std::int64_t>& counted;
    const std::function<void(std::int64_t)>* progress;
};

// Adds `part` to `whole`; on a tie the champion already in `whole` stays.
void merge(EnumerationTally& whole, const EnumerationTally& part) {
    whole.machines += part.machines;
    whole.halting += part.halting;
    for (std::size_t kind = 0; kind < whole.byKind.size(); ++kind) {
        whole.byKind[kind] += part.byKind[kind];
    }
    if (part.mostSteps > whole.mostSteps) {
        whole.mostSteps = part.mostSteps;
        whole.mostStepsMachine = part.mostStepsMachine;
    }
    if (part.mostOnes > whole.mostOnes) {
        whole.mostOnes = part.mostOnes;
        whole.mostOnesMachine = part.mostOnesMachine;
    }
    whole.undecidedMachines.insert(whole.undecidedMachines.end(), part.undecidedMachines.begin(),
                                   part.undecidedMachines.end());
}

}  // namespace

EnumerationTally enumerateTreeNormalForm(int states, int symbols, const DecideBudget& budget,
                                         const std::function<void(std::int64_t)>& progress) {
    std::atomic<std::int64_t> counted = 0;
    std::vector<Subtree> subtrees;
    Enumeration top(states, symbols, budget, counted, &progress);
    DeciderMachine machine = blankDeciderMachine(states, symbols);
    top.visit(machine, 1, 1, 0, &subtrees);

    // Each subtree keeps its own tally, merged in order, so that the result
    // does not depend on which thread finished first.
    std::vector<EnumerationTally> tallies(subtrees.size());
    std::atomic<std::size_t> next = 0;
    const auto work = [&](const std::function<void(std::int64_t)>* reporter) {
        for (std::size_t index = next++; index < subtrees.size(); index = next++) {
            Enumeration enumeration(states, symbols, budget, counted, reporter);
            Subtree& subtree = subtrees[index];
            enumeration.visit(subtree.machine, subtree.statesUsed, subtree.symbolsUsed,
                              subtreeDepth, nullptr);
            tallies[index] = std::move(enumeration.tally);
        }
    };
    std::vector<std::thread> helpers;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned helper = 1; helper < threads; ++helper) {
        helpers.emplace_back(work, nullptr);
    }
    work(&progress);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (const EnumerationTally& tally : tallies) {
        merge(top.tally, tally);
    }
    return top.tally;
}
