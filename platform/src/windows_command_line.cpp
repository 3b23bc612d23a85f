#include "windows_command_line.h"

namespace {

bool needsQuotes(const std::string& argument) {
    return argument.empty() || argument.find_first_of(" \t\"") != std::string::npos;
}

void appendQuoted(std::string& line, const std::string& argument) {
    line += '"';
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there they are doubled.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    line.append(2 * backslashes, '\\');
    line += '"';
}

}  // namespace

std::string windowsCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front()) {
            line += ' ';
        }
        if (needsQuotes(argument)) {
            appendQuoted(line, argument);
        } else {
            line += argument;
        }
    }
    return line;
}
