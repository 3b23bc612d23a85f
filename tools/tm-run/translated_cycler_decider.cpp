#include "tools/tm-run/translated_cycler_decider.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "tools/tm-run/decider_run.h"

namespace {

// Records on one side. Positions are seen as if the side were the right one:
// multiplied by `side`, so that a record is always a new highest position.
class RecordWatch {
public:
    RecordWatch(int side, std::int64_t blankFrom) : side(side), blankFrom(blankFrom) {}

    // Called after each step; a translated cycler when the run just ended one.
    std::optional<Verdict> observe(const DeciderRun& run, std::int64_t highestBefore) {
        const std::int64_t position = side * run.head();
        if (position <= highestBefore || position < blankFrom) {
            lowest = std::min(lowest, position);
            return std::nullopt;
        }
        if (!records.empty()) {
            records.back().lowestAfter = lowest;
        }
        // From the newest record back, the lowest point since each one.
        std::int64_t low = position;
        for (auto record = records.rbegin(); record != records.rend(); ++record) {
            low = std::min(low, record->lowestAfter);
            if (record->run.state() == run.state() && sameCellsBehind(*record, run, low)) {
                Verdict verdict;
                verdict.kind = VerdictKind::TranslatedCycler;
                verdict.t1 = record->run.steps();
                verdict.t2 = run.steps();
                verdict.shift = run.head() - record->run.head();
                return verdict;
            }
        }
        records.push_back({run, position});
        lowest = position;
        return std::nullopt;
    }

private:
    struct Record {
        DeciderRun run;
        std::int64_t lowestAfter;  // until the next record
    };

    // The cells from the head back to `low` at the earlier record, the same
    // distance back from the head now.
    bool sameCellsBehind(const Record& record, const DeciderRun& now, std::int64_t low) const {
        const std::int64_t then = side * record.run.head();
        const std::int64_t here = side * now.head();
        for (std::int64_t back = 0; back <= then - low; ++back) {
            if (record.run.cell(side * (then - back)) != now.cell(side * (here - back))) {
                return false;
            }
        }
        return true;
    }

    int side;
    std::int64_t blankFrom;  // the start tape is blank from here on
    std::vector<Record> records;
    std::int64_t lowest = 0;
};

}  // namespace

Verdict decideTranslatedCycler(const DeciderMachine& machine, std::int64_t budget) {
    DeciderRun run(machine);
    RecordWatch right(1, static_cast<std::int64_t>(machine.startTape.size()));
    RecordWatch left(-1, 1);
    while (run.steps() < budget) {
        const int state = run.state();
        const int symbol = run.read();
        const std::int64_t rightmost = run.rightmost();
        const std::int64_t leftmost = run.leftmost();
        if (!run.step()) {
            return haltedVerdict(run, state, symbol);
        }
        if (auto verdict = right.observe(run, rightmost)) {
            return *verdict;
        }
        if (auto verdict = left.observe(run, -leftmost)) {
            return *verdict;
        }
    }
    return {};
}
