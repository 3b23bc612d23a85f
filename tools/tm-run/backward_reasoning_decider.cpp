#include "tools/tm-run/backward_reasoning_decider.h"

#include <algorithm>
#include <vector>

#include "tools/tm-run/decider_run.h"

namespace {

constexpr std::uint8_t unknown = 255;

class BackwardSearch {
public:
    BackwardSearch(const DeciderMachine& machine, int depthLimit, std::int64_t nodeLimit)
        : machine(machine),
          depthLimit(depthLimit),
          nodeLimit(nodeLimit),
          cells(static_cast<std::size_t>(2 * depthLimit + 3), unknown) {}

    // False when the search gives up: a branch reached the depth limit, or
    // the nodes ran out.
    bool fromEveryHalt() {
        const int centre = depthLimit + 1;
        for (int state = 0; state < machine.stateCount; ++state) {
            for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
                if (!machine.at(state, symbol).halts()) {
                    continue;
                }
                cells[centre] = static_cast<std::uint8_t>(symbol);
                const bool diedOut = explore(state, centre, 0);
                cells[centre] = unknown;
                if (!diedOut) {
                    return false;
                }
            }
        }
        return true;
    }

    // The most steps back that any branch went; -1 without a halt to go back from.
    int deepest = -1;

private:
    // Every configuration one step before: a transition into `state` whose
    // write agrees with the cell it left behind.
    bool explore(int state, int head, int depth) {
        if (depth >= depthLimit || ++nodes > nodeLimit) {
            return false;
        }
        deepest = std::max(deepest, depth);
        for (int before = 0; before < machine.stateCount; ++before) {
            for (int read = 0; read < machine.symbolCount; ++read) {
                const DeciderTransition& transition = machine.at(before, read);
                if (!transition.defined || transition.next != state) {
                    continue;
                }
                const int from = head - transition.move;
                if (cells[from] != unknown && cells[from] != transition.write) {
                    continue;
                }
                const std::uint8_t kept = cells[from];
                cells[from] = static_cast<std::uint8_t>(read);
                const bool diedOut = explore(before, from, depth + 1);
                cells[from] = kept;
                if (!diedOut) {
                    return false;
                }
            }
        }
        return true;
    }

    const DeciderMachine& machine;
    int depthLimit;
    std::int64_t nodeLimit;
    std::int64_t nodes = 0;
    std::vector<std::uint8_t> cells;  // by position around the halt; `unknown` where not read
};

}  // namespace

Verdict decideBackwardReasoning(const DeciderMachine& machine, int depthLimit,
                                std::int64_t nodeLimit) {
    BackwardSearch search(machine, depthLimit, nodeLimit);
    if (!search.fromEveryHalt()) {
        return {};
    }
    // A run that halts sooner leaves no configuration that far back.
    const int depth = search.deepest + 1;
    DeciderRun run(machine);
    while (run.steps() < depth) {
        if (!run.step()) {
            return {};
        }
    }
    Verdict verdict;
    verdict.kind = VerdictKind::HaltingUnreachable;
    verdict.depth = depth;
    return verdict;
}
