#include "tools/tm-run/tape_report.h"

#include <array>

void printTapeReport(std::FILE* out, const TapeCells& written, std::int64_t headPosition) {
    std::fputs("tape: ", out);
    std::fwrite(written.cells.data(), 1, written.cells.size(), out);
    std::fputc('\n', out);
    std::fprintf(out, "first cell: %lld\n", static_cast<long long>(written.firstPosition));
    std::fprintf(out, "head: %lld\n", static_cast<long long>(headPosition));

    std::array<std::int64_t, 256> counts{};
    for (const char symbol : written.cells) {
        ++counts[static_cast<unsigned char>(symbol)];
    }
    for (std::size_t symbol = 0; symbol < counts.size(); ++symbol) {
        if (counts[symbol] != 0) {
            std::fprintf(out, "symbol '%c': %lld\n", static_cast<char>(symbol),
                         static_cast<long long>(counts[symbol]));
        }
    }
}
