#ifndef ZARN_TOOLS_TM_RUN_MACRO_TAPE_H
#define ZARN_TOOLS_TM_RUN_MACRO_TAPE_H

#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "tools/tm-run/compiled_rules.h"

// A block of k cells, numbered as it was first met; 0 is the blank block.
using BlockId = std::uint32_t;

// Equal neighbouring blocks, kept as one run of `count` (at least 1) blocks.
struct TapeRun {
    BlockId block;
    mpz_class count;
};

// What the machine does with a block that it enters in a state from one side:
// the block it leaves behind, the state and the side it leaves by, and the steps.
struct Crossing {
    BlockId write;
    StateIndex next;
    bool exitRight;
    std::int64_t steps;
};

// The tape as runs on either side of the head, which stands between the top
// of `left` and the top of `right`, facing one of them. Nearest the head last;
// beyond the bottom of either stack every block is blank.
struct MacroTape {
    std::vector<TapeRun> left;
    std::vector<TapeRun> right;
    StateIndex state = 0;
    bool facingRight = true;

    std::vector<TapeRun>& ahead() { return facingRight ? right : left; }
};

#endif
