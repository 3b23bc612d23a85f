#ifndef ZARN_TOOLS_TM_RUN_STANDARD_NOTATION_H
#define ZARN_TOOLS_TM_RUN_STANDARD_NOTATION_H

#include <string>

// The one-line notation in which busy beaver machines are published:
// states A, B, C, ... in order, separated by "_" or by spaces; for each state
// one transition per symbol 0, 1, 2, ..., each the symbol to write, L or R and
// the next state, as in 1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA. Z (or H, where no
// state is called H) halts; "---" or "..." is no rule.

// True when `text` is one line that begins with a digit, "-" or ".": no
// description of the workbench's own format can be that and still run.
bool isStandardNotation(const std::string& text);

struct TranslatedMachine {
    std::string description;  // in the workbench's own format
    std::string error;        // why the line is no machine; empty on success
};

// The description that runs the same machine: a blank tape, the head on
// position 0, start in A, symbol 0 written as the blank "^", the digits as
// themselves, and one finish state Z for every halting transition.
TranslatedMachine translateStandardNotation(const std::string& text);

#endif
