#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/checked_runner.h"

namespace {

// Enough reports to walk off the tape window and finish most small machines,
// few enough to keep each execution fast.
constexpr int maxReports = 300;

}  // namespace

// One text, parsed and, when runnable, run for a bounded number of ticks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckedRunner runner;
    if (runner.parse(std::string(reinterpret_cast<const char*>(data), size))) {
        for (int i = 0; i < maxReports && runner.reportStep(); ++i) {
        }
    }
    return 0;
}
