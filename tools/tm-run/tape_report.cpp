#include "tools/tm-run/tape_report.h"

#include <string>

#include "tools/tm-run/big_count.h"

TapeCounts countsOf(const TapeCells& written) {
    TapeCounts counts;
    counts.firstPosition = bigOf(written.firstPosition);
    std::array<std::int64_t, 256> symbols{};
    for (const char symbol : written.cells) {
        ++symbols[static_cast<unsigned char>(symbol)];
    }
    for (std::size_t symbol = 0; symbol < symbols.size(); ++symbol) {
        counts.symbols[symbol] = bigOf(symbols[symbol]);
    }
    return counts;
}

void printTapeReport(std::FILE* out, const TapeCells* written, const TapeCounts& counts,
                     const mpz_class& headPosition) {
    if (written != nullptr) {
        std::fputs("tape: ", out);
        std::fwrite(written->cells.data(), 1, written->cells.size(), out);
        std::fputc('\n', out);
    }
    std::fprintf(out, "first cell: %s\n", counts.firstPosition.get_str().c_str());
    std::fprintf(out, "head: %s\n", headPosition.get_str().c_str());
    for (std::size_t symbol = 0; symbol < counts.symbols.size(); ++symbol) {
        if (counts.symbols[symbol] != 0) {
            std::fprintf(out, "symbol '%c': %s\n", static_cast<char>(symbol),
                         counts.symbols[symbol].get_str().c_str());
        }
    }
}
