#include "tests/fuzz/description_lines.h"

namespace {

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

LineKind kindOf(std::string_view line) {
    if (line.starts_with("tape")) {
        return LineKind::Tape;
    }
    if (line.starts_with("(")) {
        return LineKind::Rule;
    }
    if (line.starts_with("finish")) {
        return LineKind::Finish;
    }
    if (line.starts_with("start")) {
        return LineKind::Start;
    }
    if (line.starts_with("#")) {
        return LineKind::Comment;
    }
    return LineKind::Unrecognised;
}

}  // namespace

std::vector<DescriptionLine> descriptionLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<DescriptionLine> lines;
    std::size_t position = 0;
    for (int number = 1;; ++number) {
        std::size_t end = position;
        while (end < text.size() && !isLineBreak(text[end])) {
            ++end;
        }
        const std::string_view line = text.substr(position, end - position);
        lines.push_back({number, line, kindOf(line)});
        while (end < text.size() && isLineBreak(text[end])) {
            ++end;
        }
        if (end == text.size()) {
            return lines;
        }
        position = end;
    }
}
