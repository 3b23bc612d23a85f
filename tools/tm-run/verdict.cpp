#include "tools/tm-run/verdict.h"

#include <algorithm>

#include "tools/tm-run/big_count.h"

Verdict haltedVerdict(const DeciderRun& run, int state, int symbol) {
    Verdict verdict;
    verdict.kind = VerdictKind::Halts;
    verdict.steps = bigOf(run.steps());
    verdict.haltState = state;
    verdict.haltSymbol = symbol;
    verdict.headPosition = bigOf(run.head());
    // The start tape's cells count too, where the head never went.
    const std::int64_t from = std::min<std::int64_t>(run.leftmost(), 0);
    const std::int64_t to = std::max<std::int64_t>(
        run.rightmost(), static_cast<std::int64_t>(run.machine().startTape.size()) - 1);
    std::int64_t first = to + 1;
    std::int64_t last = from - 1;
    for (std::int64_t position = from; position <= to; ++position) {
        if (run.cell(position) != 0) {
            first = std::min(first, position);
            last = position;
        }
    }
    verdict.counts.emplace();
    verdict.counts->firstPosition = bigOf(first <= last ? first : run.head());
    const auto& names = run.machine().symbolNames;
    for (std::int64_t position = first; position <= last; ++position) {
        ++verdict.counts->symbols[static_cast<unsigned char>(names[run.cell(position)])];
    }
    return verdict;
}
