#ifndef ZARN_TESTS_FUZZ_DESCRIPTION_LINES_H
#define ZARN_TESTS_FUZZ_DESCRIPTION_LINES_H

#include <string_view>
#include <vector>

enum class LineKind { Tape, Rule, Finish, Start, Comment, Unrecognised };

struct DescriptionLine {
    int number;
    std::string_view text;
    LineKind kind;
};

// An independent reading of how a description text splits into numbered lines
// and what kind each line is, for checking the parser's messages against.
// The text ends at its first NUL, if it has one.
std::vector<DescriptionLine> descriptionLines(std::string_view text);

#endif
