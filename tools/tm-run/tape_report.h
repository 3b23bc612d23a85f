#ifndef ZARN_TOOLS_TM_RUN_TAPE_REPORT_H
#define ZARN_TOOLS_TM_RUN_TAPE_REPORT_H

#include <cstdint>
#include <cstdio>

#include "engine/tape.h"

// Prints, for --tape: the cells from the leftmost to the rightmost non-blank
// one, the position of the first of them, the head's position, and how many of
// the printed cells hold each symbol. Every non-blank cell must lie within
// `from` to `to`. Reads the tape through its view cursor, which afterwards
// rests elsewhere: call it only when no step report follows.
void printTapeReport(std::FILE* out, Tape& tape, std::int32_t from, std::int32_t to);

#endif
