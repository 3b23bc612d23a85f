#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/checked_runner.h"

namespace {

constexpr int maxTexts = 4;
constexpr int maxFinalReports = 300;

}  // namespace

// Several texts parsed into the same runner in turn, as repeated Runs of one
// document: the first byte is the number of ticks between two parses, and the
// texts follow, each ended by a NUL. A failed parse does not stop a run that
// is going on, so the ticks go on across it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int reportsBetweenParses = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckedRunner runner;
    for (int text = 0; text < maxTexts; ++text) {
        const std::size_t end = std::min(rest.find('\0'), rest.size());
        runner.parse(std::string(rest.substr(0, end)));
        const bool last = end >= rest.size() || text + 1 == maxTexts;
        const int reports = last ? maxFinalReports : reportsBetweenParses;
        for (int i = 0; i < reports && runner.runGoingOn(); ++i) {
            runner.reportStep();
        }
        if (last) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return 0;
}
