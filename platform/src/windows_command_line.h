// The command line that Windows would hand WinMain for a program started with
// these arguments.
#ifndef ZARN_PLATFORM_WINDOWS_COMMAND_LINE_H
#define ZARN_PLATFORM_WINDOWS_COMMAND_LINE_H

#include <string>
#include <vector>

// Joins the arguments with spaces. One that is empty or holds a space, tab or
// quote goes in double quotes, its quotes and the backslashes before them (or
// before the closing quote) escaped with backslashes, so that the C runtime's
// splitting gives back each argument as it was.
std::string windowsCommandLine(const std::vector<std::string>& arguments);

#endif
