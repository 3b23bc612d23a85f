#ifndef ZARN_TOOLS_TM_RUN_PROGRESS_METER_H
#define ZARN_TOOLS_TM_RUN_PROGRESS_METER_H

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>

// How much an accelerated run keeps of its tape: runs of equal blocks.
struct CompressedTapeSize {
    std::size_t runs;
    int blockCells;
};

// One self-overwriting status line on a terminal: steps so far, steps per
// second and, for an accelerated run, the size of its compressed tape. Silent when the stream is
// not a terminal, so that pipes and redirected output carry no progress noise.
class ProgressMeter {
public:
    using Clock = std::chrono::steady_clock;

    // Shows progress only if `stream` is a terminal.
    static ProgressMeter forTerminal(std::FILE* stream);
    ProgressMeter(std::FILE* stream, bool enabled);

    // Cheap to call often: redraws at most a few times a second.
    void update(std::int64_t steps, std::optional<CompressedTapeSize> tape = std::nullopt) {
        update(steps, tape, Clock::now());
    }
    void update(std::int64_t steps, std::optional<CompressedTapeSize> tape, Clock::time_point now);
    // Erases the status line, if one was drawn.
    void clear();
    // What the count is of, "steps" unless set.
    void countIn(const char* newUnit) { unit = newUnit; }

private:
    std::FILE* stream;
    bool enabled;
    bool drawn = false;
    const char* unit = "steps";
    Clock::time_point started;
    Clock::time_point lastDrawn;
};

#endif
