#ifndef ZARN_BENCH_REFERENCE_STEPPER_H
#define ZARN_BENCH_REFERENCE_STEPPER_H

#include <cstdint>
#include <vector>

#include "busy_beaver5.h"

// The least a stepper can do: a flat array tape, integer states and a
// transition table. Benchmarks compare the engine's cost per step with it.
inline std::int64_t runReferenceBusyBeaver5() {
    constexpr std::size_t tapeCells = 1 << 16;
    std::vector<std::uint8_t> tape(tapeCells, 0);
    std::size_t head = tapeCells / 2;
    int state = 0;
    std::int64_t steps = 0;
    while (state != busy_beaver5::haltState) {
        const busy_beaver5::Transition& t = busy_beaver5::transitions[state][tape[head]];
        tape[head] = t.write;
        head += static_cast<std::size_t>(static_cast<std::ptrdiff_t>(t.move));
        state = t.next;
        ++steps;
    }
    return steps;
}

#endif
