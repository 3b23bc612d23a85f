#include "ui/command_line_arguments.h"

#include <utility>

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> commandLineArguments(const char* commandLine) {
    std::vector<std::string> arguments;
    const char* c = commandLine != nullptr ? commandLine : "";
    for (;;) {
        while (isSeparator(*c)) {
            ++c;
        }
        if (*c == '\0') {
            return arguments;
        }
        std::string argument;
        bool quoted = false;
        while (*c != '\0' && (quoted || !isSeparator(*c))) {
            std::size_t backslashes = 0;
            while (*c == '\\') {
                ++backslashes;
                ++c;
            }
            if (*c != '"') {
                argument.append(backslashes, '\\');
                if (*c != '\0' && (quoted || !isSeparator(*c))) {
                    argument += *c++;
                }
                continue;
            }
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument += '"';
            } else if (quoted && c[1] == '"') {
                argument += '"';
                ++c;
            } else {
                quoted = !quoted;
            }
            ++c;
        }
        arguments.push_back(std::move(argument));
    }
}
