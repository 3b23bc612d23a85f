#ifndef ZARN_TESTS_FUZZ_EXPECTED_PARSE_H
#define ZARN_TESTS_FUZZ_EXPECTED_PARSE_H

#include <optional>
#include <string>
#include <vector>

struct ExpectedTape {
    std::string cells;
    int headOffset = 0;
};

// What parsing a text should do, read from the text independently of the
// parser: the messages between "Parsing text..." and "-Done.", the tape,
// start and finish lines that are accepted, and whether the text is runnable.
struct ExpectedParse {
    std::vector<std::string> messages;
    std::optional<ExpectedTape> tape;
    std::optional<std::string> startState;
    std::optional<std::string> finishState;
    bool runnable = false;
};

// The text ends at its first NUL, if it has one.
ExpectedParse expectedParse(const std::string& text);

#endif
