#ifndef ZARN_TOOLS_TM_RUN_TAPE_CELLS_H
#define ZARN_TOOLS_TM_RUN_TAPE_CELLS_H

#include <gmpxx.h>

#include <array>
#include <cstdint>
#include <string>

#include "engine/tape.h"

// A stretch of tape: its cells from `firstPosition` on.
struct TapeCells {
    std::string cells;
    std::int64_t firstPosition = 0;

    bool operator==(const TapeCells&) const = default;
};

// How many cells of the written stretch of tape (from its first to its last
// non-blank cell) hold each symbol, and where that stretch begins: counted,
// not printed, so of any size.
struct TapeCounts {
    mpz_class firstPosition;
    std::array<mpz_class, 256> symbols;
};

// The stretch from its first to its last non-blank cell; an all-blank stretch
// becomes an empty one at `headPosition`.
inline TapeCells withoutOuterBlanks(const TapeCells& tape, std::int64_t headPosition) {
    const auto first = tape.cells.find_first_not_of(blankSymbol);
    if (first == std::string::npos) {
        return {"", headPosition};
    }
    const auto last = tape.cells.find_last_not_of(blankSymbol);
    return {tape.cells.substr(first, last - first + 1),
            tape.firstPosition + static_cast<std::int64_t>(first)};
}

#endif
