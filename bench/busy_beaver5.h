#ifndef ZARN_BENCH_BUSY_BEAVER5_H
#define ZARN_BENCH_BUSY_BEAVER5_H

#include <cstdint>

// The five-state, two-symbol busy beaver champion: it halts after 47,176,870
// steps with 4098 ones on the tape. States A..E are 0..4; state 5 is the halt.
namespace busy_beaver5 {

inline constexpr std::int64_t stepsToHalt = 47'176'870;
inline constexpr int haltState = 5;

struct Transition {
    std::uint8_t write;
    std::int8_t move;  // -1 left, +1 right
    std::uint8_t next;
};

// transitions[state][symbol read]
inline constexpr Transition transitions[5][2] = {
    {{1, +1, 1}, {1, -1, 2}},  // A
    {{1, +1, 2}, {1, +1, 1}},  // B
    {{1, +1, 3}, {0, -1, 4}},  // C
    {{1, -1, 0}, {1, -1, 3}},  // D
    {{1, +1, 5}, {0, -1, 0}},  // E
};

// The same machine as a description; "^" is the blank 0.
inline constexpr const char* description =
    "tape()\n"
    "start(A)\n"
    "finish(H)\n"
    "(A,^,B,1,R)\n(A,1,C,1,L)\n"
    "(B,^,C,1,R)\n(B,1,B,1,R)\n"
    "(C,^,D,1,R)\n(C,1,E,^,L)\n"
    "(D,^,A,1,L)\n(D,1,D,1,L)\n"
    "(E,^,H,1,R)\n(E,1,A,^,L)\n";

}  // namespace busy_beaver5

#endif
