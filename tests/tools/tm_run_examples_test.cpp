#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tm_run_process.h"

namespace {

// Each example documents its result in comment lines of the form
// "# expect-KEY: VALUE"; this reads them back.
std::multimap<std::string, std::string> expectations(const std::filesystem::path& example) {
    std::multimap<std::string, std::string> found;
    std::ifstream in(example);
    const std::string prefix = "# expect-";
    for (std::string line; std::getline(in, line);) {
        const auto colon = line.find(": ");
        if (line.rfind(prefix, 0) == 0 && colon != std::string::npos) {
            found.emplace(line.substr(prefix.size(), colon - prefix.size()),
                          line.substr(colon + 2));
        }
    }
    return found;
}

std::vector<std::filesystem::path> examples() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
        if (entry.path().extension() == ".txt") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class Examples : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(Examples, RunsToItsDocumentedResultWhetherSkippingAheadOrNot) {
    const std::filesystem::path& path = GetParam();
    const auto expected = expectations(path);
    const bool halts = expected.count("steps") == 1;
    ASSERT_TRUE(halts || expected.count("stopped-after") == 1)
        << "an example says how many steps it makes";

    std::vector<std::string> arguments{"--tape", path.string()};
    if (!halts) {
        arguments.insert(arguments.begin(),
                         {"--max-steps", expected.find("stopped-after")->second});
    }
    const TmRunResult run = runTmRun(arguments);
    const std::string report = "\n" + run.out;
    arguments.insert(arguments.begin(), "--plain");
    const TmRunResult plain = runTmRun(arguments);
    EXPECT_EQ(run.out, plain.out) << "skipping ahead changes nothing";
    EXPECT_EQ(run.status, plain.status);

    if (halts) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.rfind("Run complete! " + expected.find("steps")->second + " steps.\n", 0),
                  0u)
            << run.out.substr(0, 200);
    } else {
        EXPECT_EQ(run.status, 3) << run.err;
    }
    if (const auto tape = expected.find("tape"); tape != expected.end()) {
        EXPECT_NE(report.find("\ntape: " + tape->second + "\n"), std::string::npos)
            << run.out.substr(0, 200);
    }
    for (auto [count, end] = expected.equal_range("symbol-count"); count != end; ++count) {
        const std::string symbol = count->second.substr(0, 1);
        const std::string cells = count->second.substr(2);
        EXPECT_NE(report.find("\nsymbol '" + symbol + "': " + cells + "\n"), std::string::npos)
            << run.out.substr(0, 200);
    }
}

INSTANTIATE_TEST_SUITE_P(Library, Examples, ::testing::ValuesIn(examples()),
                         [](const auto& info) { return info.param.stem().string(); });

}  // namespace
