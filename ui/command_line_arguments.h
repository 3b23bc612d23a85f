// The arguments of a Windows command line, split as the C runtime splits them.
#ifndef ZARN_UI_COMMAND_LINE_ARGUMENTS_H
#define ZARN_UI_COMMAND_LINE_ARGUMENTS_H

#include <string>
#include <vector>

// Splits WinMain's command line (which no longer holds the program's name) at
// spaces and tabs outside double quotes. A quote toggles quoting and is
// dropped; "" inside quotes is one quote; backslashes are literal except
// before a quote, where each pair gives one backslash and an odd one left
// over makes the quote literal.
std::vector<std::string> commandLineArguments(const char* commandLine);

#endif
