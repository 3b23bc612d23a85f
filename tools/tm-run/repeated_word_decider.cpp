#include "tools/tm-run/repeated_word_decider.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace {

// What the machine does to one block that the head enters from one side.
struct BlockPass {
    bool halts = false;
    bool staysInside = false;  // it never leaves: the run goes on for ever
    std::uint64_t word = 0;
    int state = 0;
    bool leavesRight = false;
};

class WordListClosure {
public:
    WordListClosure(const DeciderMachine& machine, int blockSize, int threshold,
                    const WordListLimits& limits)
        : machine(machine),
          blockSize(blockSize),
          threshold(threshold),
          most(limits.mostConfigurations),
          longest(limits.longestList) {
        for (int cell = 0; cell < blockSize; ++cell) {
            weights.push_back(blocks);
            blocks *= static_cast<std::uint64_t>(machine.symbolCount);
        }
    }

    bool close() {
        std::vector<WordListConfiguration> pending{WordListConfiguration{}};
        configurations.insert(pending.front());
        while (!pending.empty()) {
            const WordListConfiguration here = pending.back();
            pending.pop_back();
            if (!step(here, pending) || configurations.size() > most) {
                return false;
            }
        }
        return true;
    }

    std::set<WordListConfiguration> configurations;

private:
    // False if the block ahead halts.
    bool step(const WordListConfiguration& here, std::vector<WordListConfiguration>& pending) {
        const std::vector<WordRun>& ahead = here.facingRight ? here.right : here.left;
        // Beyond the runs the tape is blank, and stays so as blocks are taken.
        if (ahead.empty()) {
            return pass(here, 0, pending);
        }
        const WordRun nearest = ahead.back();
        WordListConfiguration taken = here;
        std::vector<WordRun>& rest = taken.facingRight ? taken.right : taken.left;
        rest.pop_back();
        if (nearest.count > 1) {
            rest.push_back({nearest.word, nearest.count - 1});
        }
        if (!pass(taken, nearest.word, pending)) {
            return false;
        }
        // At the threshold, the run may as well be longer: one fewer leaves it there.
        if (nearest.count == threshold) {
            taken = here;
            return pass(taken, nearest.word, pending);
        }
        return true;
    }

    bool pass(WordListConfiguration there, std::uint64_t word,
              std::vector<WordListConfiguration>& pending) {
        const BlockPass& passed = passOver(there.state, word, there.facingRight);
        if (passed.halts) {
            return false;
        }
        if (passed.staysInside) {
            return true;
        }
        there.state = passed.state;
        there.facingRight = passed.leavesRight;
        std::vector<WordRun>& behind = there.facingRight ? there.left : there.right;
        if (!behind.empty() && behind.back().word == passed.word) {
            behind.back().count = std::min(behind.back().count + 1, threshold);
        } else if (!behind.empty() || passed.word != 0) {
            behind.push_back({passed.word, 1});
        }
        if (behind.size() > longest) {
            return false;
        }
        if (configurations.insert(there).second) {
            pending.push_back(there);
        }
        return true;
    }

    const BlockPass& passOver(int state, std::uint64_t word, bool fromLeft) {
        const std::uint64_t key =
            (word * static_cast<std::uint64_t>(machine.stateCount) + state) * 2 +
            (fromLeft ? 1 : 0);
        const auto known = passes.find(key);
        if (known != passes.end()) {
            return known->second;
        }
        BlockPass passed;
        int cell = fromLeft ? 0 : blockSize - 1;
        // Past this many steps inside, some configuration has come back.
        const std::uint64_t mostInside =
            blocks * static_cast<std::uint64_t>(machine.stateCount * blockSize);
        for (std::uint64_t steps = 0; cell >= 0 && cell < blockSize; ++steps) {
            const auto read = static_cast<int>(word / weights[cell] % machine.symbolCount);
            const DeciderTransition& transition = machine.at(state, read);
            if (!transition.defined || transition.halts()) {
                passed.halts = true;
                break;
            }
            if (steps > mostInside) {
                passed.staysInside = true;
                break;
            }
            word = word + (transition.write - read) * weights[cell];
            cell += transition.move;
            state = transition.next;
        }
        passed.word = word;
        passed.state = state;
        passed.leavesRight = cell >= blockSize;
        return passes.emplace(key, passed).first->second;
    }

    const DeciderMachine& machine;
    int blockSize;
    int threshold;
    std::size_t most;
    std::size_t longest;
    std::uint64_t blocks = 1;
    std::vector<std::uint64_t> weights;
    std::map<std::uint64_t, BlockPass> passes;
};

// Whether a block's pass stays cheap: its steps inside are bounded by how
// many ways there are to stand in it, which grow as symbols^blockSize.
bool passesStayCheap(const DeciderMachine& machine, int blockSize) {
    constexpr std::uint64_t mostWaysToStand = 1 << 22;
    std::uint64_t ways =
        static_cast<std::uint64_t>(machine.stateCount) * static_cast<std::uint64_t>(blockSize);
    for (int cell = 0; cell < blockSize && ways <= mostWaysToStand; ++cell) {
        ways *= static_cast<std::uint64_t>(machine.symbolCount);
    }
    return ways <= mostWaysToStand;
}

}  // namespace

Verdict decideRepeatedWords(const DeciderMachine& machine, const WordListLimits& limits) {
    const bool blankStart = machine.startsBlank();
    for (int blockSize = 1;
         blankStart && blockSize <= limits.largestBlock && passesStayCheap(machine, blockSize);
         ++blockSize) {
        for (int threshold = 1; threshold <= limits.largestThreshold; ++threshold) {
            WordListClosure closure(machine, blockSize, threshold, limits);
            if (!closure.close()) {
                continue;
            }
            Verdict verdict;
            verdict.kind = VerdictKind::RepeatedWords;
            verdict.words = {blockSize,
                             threshold,
                             {closure.configurations.begin(), closure.configurations.end()}};
            return verdict;
        }
    }
    return {};
}
