#include "tools/tm-run/closed_tape_language_decider.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>
#include <vector>

#include "tools/tm-run/writer_history_machine.h"

bool WindowCertificate::Neighbourhood::operator<(const Neighbourhood& other) const {
    return std::tie(left, state, block, offset, right) <
           std::tie(other.left, other.state, other.block, other.offset, other.right);
}

namespace {

using Neighbourhood = WindowCertificate::Neighbourhood;

// Grows the sets from the blank start until nothing new comes, or a halt does.
class WindowClosure {
public:
    WindowClosure(const DeciderMachine& machine, int blockSize, int width, std::size_t most)
        : machine(machine),
          symbols(static_cast<std::uint32_t>(machine.symbolCount)),
          blockSize(blockSize),
          most(most) {
        for (int cell = 0; cell < blockSize; ++cell) {
            blocks *= symbols;
        }
        for (int block = 1; block < width; ++block) {
            deepest *= blocks;
        }
        left.insert(0);
        right.insert(0);
        neighbourhoods.insert({0, 0, 0, 0, 0});
    }

    bool close() {
        // New neighbourhoods wait in `pending`; a window set that grew may
        // give any known neighbourhood new successors, so all go again.
        std::vector<Neighbourhood> pending(neighbourhoods.begin(), neighbourhoods.end());
        while (!pending.empty()) {
            windowsGrew = false;
            while (!pending.empty()) {
                const Neighbourhood here = pending.back();
                pending.pop_back();
                step(here, pending);
                if (halted || neighbourhoods.size() > most) {
                    return false;
                }
            }
            if (windowsGrew) {
                pending.assign(neighbourhoods.begin(), neighbourhoods.end());
            }
        }
        return true;
    }

    std::set<std::uint64_t> left;
    std::set<std::uint64_t> right;
    std::set<Neighbourhood> neighbourhoods;

private:
    std::uint32_t weight(int offset) const {
        std::uint32_t weight = 1;
        for (int cell = 0; cell < offset; ++cell) {
            weight *= symbols;
        }
        return weight;
    }

    void add(const Neighbourhood& there, std::vector<Neighbourhood>& pending) {
        if (neighbourhoods.insert(there).second) {
            pending.push_back(there);
        }
    }

    // Every neighbourhood one step on.
    void step(const Neighbourhood& here, std::vector<Neighbourhood>& pending) {
        const std::uint32_t cellWeight = weight(here.offset);
        const auto read = static_cast<int>(here.block / cellWeight % symbols);
        const DeciderTransition& transition = machine.at(here.state, read);
        if (transition.halts()) {
            halted = true;
            return;
        }
        const std::uint32_t block =
            here.block + (static_cast<std::uint32_t>(transition.write) - read) * cellWeight;
        const int offset = here.offset + transition.move;
        const int next = transition.next;
        if (offset >= 0 && offset < blockSize) {
            add({here.left, next, block, offset, here.right}, pending);
            return;
        }
        const bool rightward = offset >= blockSize;
        std::set<std::uint64_t>& behind = rightward ? left : right;
        const std::set<std::uint64_t>& ahead = rightward ? right : left;
        const std::uint64_t aheadWindow = rightward ? here.right : here.left;
        const std::uint64_t behindWindow = rightward ? here.left : here.right;
        // The block left joins the windows behind; the nearest block ahead
        // comes under the head, and a deeper one joins the window ahead.
        const std::uint64_t pushed = block + behindWindow % deepest * blocks;
        windowsGrew |= behind.insert(pushed).second;
        const std::uint64_t remaining = aheadWindow / blocks;
        const auto entered = static_cast<std::uint32_t>(aheadWindow % blocks);
        const int enteredAt = rightward ? 0 : blockSize - 1;
        for (std::uint64_t deeper = 0; deeper < blocks; ++deeper) {
            const std::uint64_t window = remaining + deeper * deepest;
            if (ahead.count(window) == 0) {
                continue;
            }
            const Neighbourhood there =
                rightward ? Neighbourhood{pushed, next, entered, enteredAt, window}
                          : Neighbourhood{window, next, entered, enteredAt, pushed};
            add(there, pending);
        }
    }

    const DeciderMachine& machine;
    std::uint32_t symbols;
    int blockSize;
    std::uint32_t blocks = 1;   // how many different blocks there are
    std::uint64_t deepest = 1;  // the weight of a window's deepest block
    std::size_t most;
    bool halted = false;
    bool windowsGrew = false;
};

// Whether every window, as a number, fits in 64 bits and every block in 32.
bool windowsFit(int symbols, int blockSize, int width) {
    std::uint64_t count = 1;
    for (int cell = 0; cell < blockSize * width; ++cell) {
        if (count > UINT64_MAX / static_cast<std::uint64_t>(symbols)) {
            return false;
        }
        count *= static_cast<std::uint64_t>(symbols);
        if (cell + 1 == blockSize && count > UINT32_MAX) {
            return false;
        }
    }
    return true;
}

}  // namespace

Verdict decideClosedTapeLanguage(const DeciderMachine& machine, const WindowLimits& limits) {
    const bool blankStart = machine.startsBlank();
    for (int blockSize = 1; blankStart && blockSize <= limits.largestBlock; ++blockSize) {
        for (int width = 1; width <= limits.widest; ++width) {
            if (!windowsFit(machine.symbolCount, blockSize, width)) {
                break;
            }
            WindowClosure closure(machine, blockSize, width, limits.mostNeighbourhoods);
            if (!closure.close()) {
                continue;
            }
            Verdict verdict;
            verdict.kind = VerdictKind::ClosedTapeLanguage;
            verdict.windows = {blockSize,
                               width,
                               {closure.left.begin(), closure.left.end()},
                               {closure.right.begin(), closure.right.end()},
                               {closure.neighbourhoods.begin(), closure.neighbourhoods.end()}};
            return verdict;
        }
    }
    return {};
}

Verdict decideClosedTapeLanguageOfWriters(const DeciderMachine& machine,
                                          const WindowLimits& limits) {
    const DeciderMachine history = writerHistoryMachine(machine);
    if (history.stateCount == 0) {
        return {};
    }
    Verdict verdict = decideClosedTapeLanguage(history, limits);
    verdict.windows.cellsHoldWriter = verdict.kind == VerdictKind::ClosedTapeLanguage;
    return verdict;
}
