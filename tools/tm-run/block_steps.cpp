#include "tools/tm-run/block_steps.h"

#include <cstring>

namespace {

// Everything a step inside the block depends on, so equal keys mean a cycle.
struct Configuration {
    std::uint64_t cells;
    StateIndex state;
    int offset;

    bool operator==(const Configuration&) const = default;
};

Configuration configurationOf(const BlockHead& head) {
    Configuration configuration{0, head.state, head.offset};
    std::memcpy(&configuration.cells, head.cells.data(), sizeof configuration.cells);
    return configuration;
}

}  // namespace

BlockEnd runInBlock(const CompiledRules& rules, int blockSize, BlockHead& head,
                    std::optional<std::int64_t> budget, std::int64_t& steps) {
    steps = 0;
    // Brent's cycle detection: compare with a configuration saved at steps
    // 1, 2, 4, 8, ...; a match gives the exact length of the cycle.
    Configuration saved = configurationOf(head);
    std::int64_t sinceSaved = 0;
    std::int64_t saveAfter = 1;
    while (!budget || steps < *budget) {
        const CompiledRule& rule = rules.rule(head.state, head.cells[head.offset]);
        if (rule.idle) {
            return BlockEnd::Idle;
        }
        head.cells[head.offset] = rule.write;
        head.state = rule.next;
        head.offset += rule.move;
        ++steps;
        if (head.state == rules.finish()) {
            return BlockEnd::Finished;
        }
        if (head.offset < 0) {
            return BlockEnd::ExitLeft;
        }
        if (head.offset >= blockSize) {
            return BlockEnd::ExitRight;
        }
        ++sinceSaved;
        const Configuration now = configurationOf(head);
        if (now == saved) {
            // The head will go round this cycle for ever: skip the whole rounds.
            if (!budget) {
                return BlockEnd::Endless;
            }
            steps += (*budget - steps) / sinceSaved * sinceSaved;
            saveAfter = INT64_MAX;
        } else if (sinceSaved == saveAfter) {
            saved = now;
            sinceSaved = 0;
            saveAfter *= 2;
        }
    }
    return BlockEnd::Budget;
}
