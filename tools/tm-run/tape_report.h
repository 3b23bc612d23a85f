#ifndef ZARN_TOOLS_TM_RUN_TAPE_REPORT_H
#define ZARN_TOOLS_TM_RUN_TAPE_REPORT_H

#include <cstdint>
#include <cstdio>

#include "tools/tm-run/tape_cells.h"

// Prints, for --tape: the cells from the leftmost to the rightmost non-blank
// one (`written`, which holds exactly those), the position of the first of
// them, the head's position, and how many of the printed cells hold each symbol.
void printTapeReport(std::FILE* out, const TapeCells& written, std::int64_t headPosition);

#endif
