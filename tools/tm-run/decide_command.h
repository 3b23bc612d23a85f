#ifndef ZARN_TOOLS_TM_RUN_DECIDE_COMMAND_H
#define ZARN_TOOLS_TM_RUN_DECIDE_COMMAND_H

#include "tools/tm-run/command_line.h"

// --decide: prints the verdict on the machine and returns its exit status.
int runDecide(const RunOptions& options);

// --enumerate: decides every machine of the size and prints the tally.
int runEnumerate(const RunOptions& options);

#endif
