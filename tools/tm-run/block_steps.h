#ifndef ZARN_TOOLS_TM_RUN_BLOCK_STEPS_H
#define ZARN_TOOLS_TM_RUN_BLOCK_STEPS_H

#include <array>
#include <cstdint>
#include <optional>

#include "tools/tm-run/compiled_rules.h"

inline constexpr int largestBlock = 8;

// The head inside one block of k cells of the tape: its state, the block's
// cells and the head's cell in it (-1 or k once it has left the block).
struct BlockHead {
    StateIndex state = 0;
    std::array<char, largestBlock> cells{};
    int offset = 0;
};

enum class BlockEnd {
    ExitLeft,     // the head moved out past cell 0
    ExitRight,    // the head moved out past cell k - 1
    Finished,     // a rule led into the finish state
    Idle,         // the next step changes nothing, and so does every later one
    Budget,       // the steps allowed are used up
    Endless,      // what the machine does from here on is proven to go on for ever
    OutOfMemory,  // going on would take the tape past its memory ceiling
};

// Steps one rule at a time, exactly as the engine does, until the head leaves
// the block or the run ends. `steps` counts what was made. A head that never
// leaves is found out by its repeating configuration, and the repetitions are
// skipped, so a run that loops inside a block reaches any budget at once;
// without a budget, it is Endless.
BlockEnd runInBlock(const CompiledRules& rules, int blockSize, BlockHead& head,
                    std::optional<std::int64_t> budget, std::int64_t& steps);

#endif
