#include "tools/tm-run/progress_meter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace std::chrono_literals;

// Everything the meter wrote to its stream.
std::string written(std::FILE* stream) {
    std::fflush(stream);
    std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    text.resize(std::fread(text.data(), 1, text.size(), stream));
    return text;
}

TEST(ProgressMeter, RedrawsAFewTimesASecondAndErasesItsLineAtTheEnd) {
    std::FILE* stream = std::tmpfile();
    ProgressMeter meter(stream, true);
    const auto start = ProgressMeter::Clock::now();
    meter.update(1000, std::nullopt, start + 100ms);
    EXPECT_EQ(written(stream), "") << "too soon for a redraw";
    meter.update(2'000'000, std::nullopt, start + 1s);
    const std::string line = written(stream);
    EXPECT_NE(line.find("\r2000000 steps, "), std::string::npos) << line;
    EXPECT_NE(line.find(" steps/s"), std::string::npos) << line;
    meter.update(3'000'000, CompressedTapeSize{12, 3}, start + 2s);
    const std::string accelerated = written(stream).substr(line.size());
    EXPECT_NE(accelerated.find("\r3000000 steps, 1500000 steps/s, tape: 12 runs of 3-cell blocks"),
              std::string::npos)
        << accelerated;
    meter.clear();
    EXPECT_EQ(written(stream).substr(line.size() + accelerated.size()), "\r\033[K");
    std::fclose(stream);
}

}  // namespace
