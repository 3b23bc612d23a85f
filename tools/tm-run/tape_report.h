#ifndef ZARN_TOOLS_TM_RUN_TAPE_REPORT_H
#define ZARN_TOOLS_TM_RUN_TAPE_REPORT_H

#include <gmpxx.h>

#include <cstdio>

#include "tools/tm-run/tape_cells.h"

// The counts of `written`, which holds exactly the cells from the first to
// the last non-blank one.
TapeCounts countsOf(const TapeCells& written);

// Prints, for --tape and --counts: the cells from the leftmost to the
// rightmost non-blank one (`written`, which holds exactly those, when given),
// the position of the first of them, the head's position, and how many of
// those cells hold each symbol.
void printTapeReport(std::FILE* out, const TapeCells* written, const TapeCounts& counts,
                     const mpz_class& headPosition);

#endif
