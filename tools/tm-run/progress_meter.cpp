#include "tools/tm-run/progress_meter.h"

#include <unistd.h>

namespace {

constexpr auto redrawInterval = std::chrono::milliseconds(250);

}  // namespace

ProgressMeter ProgressMeter::forTerminal(std::FILE* stream) {
    return ProgressMeter(stream, isatty(fileno(stream)) != 0);
}

ProgressMeter::ProgressMeter(std::FILE* stream, bool enabled)
    : stream(stream), enabled(enabled), started(Clock::now()), lastDrawn(started) {}

void ProgressMeter::update(std::int64_t steps, std::optional<CompressedTapeSize> tape,
                           Clock::time_point now) {
    if (!enabled || now - lastDrawn < redrawInterval) {
        return;
    }
    lastDrawn = now;
    const double seconds = std::chrono::duration<double>(now - started).count();
    const double rate = seconds > 0 ? static_cast<double>(steps) / seconds : 0.0;
    // "\033[K" erases what a longer earlier line left behind.
    std::fprintf(stream, "\r%lld %s, %.0f %s/s", static_cast<long long>(steps), unit, rate, unit);
    if (tape) {
        std::fprintf(stream, ", tape: %zu runs of %d-cell blocks", tape->runs, tape->blockCells);
    }
    std::fputs("\033[K", stream);
    std::fflush(stream);
    drawn = true;
}

void ProgressMeter::clear() {
    if (drawn) {
        std::fputs("\r\033[K", stream);
        std::fflush(stream);
        drawn = false;
    }
}
