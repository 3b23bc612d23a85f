#include "tools/tm-run/tape_report.h"

#include <array>
#include <string>

void printTapeReport(std::FILE* out, Tape& tape, std::int32_t from, std::int32_t to) {
    // After a parse the view cursor's block starts at position 0, and the step
    // reports only ever read a window that leaves it there.
    std::string cells(static_cast<std::size_t>(std::int64_t{to} - from + 1), blankSymbol);
    tape.readWindow(from, static_cast<std::int32_t>(cells.size()), cells.data());

    const auto first = cells.find_first_not_of(blankSymbol);
    const auto last = cells.find_last_not_of(blankSymbol);
    const std::string written =
        first == std::string::npos ? std::string() : cells.substr(first, last - first + 1);
    const std::int64_t firstPosition =
        first == std::string::npos ? tape.headPosition() : from + static_cast<std::int64_t>(first);

    std::fputs("tape: ", out);
    std::fwrite(written.data(), 1, written.size(), out);
    std::fputc('\n', out);
    std::fprintf(out, "first cell: %lld\n", static_cast<long long>(firstPosition));
    std::fprintf(out, "head: %d\n", static_cast<int>(tape.headPosition()));

    std::array<std::int64_t, 256> counts{};
    for (const char symbol : written) {
        ++counts[static_cast<unsigned char>(symbol)];
    }
    for (std::size_t symbol = 0; symbol < counts.size(); ++symbol) {
        if (counts[symbol] != 0) {
            std::fprintf(out, "symbol '%c': %lld\n", static_cast<char>(symbol),
                         static_cast<long long>(counts[symbol]));
        }
    }
}
