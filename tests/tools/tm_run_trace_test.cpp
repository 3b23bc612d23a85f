#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/machine_runner.h"
#include "tests/engine/recording_log_sink.h"
#include "tm_run_process.h"

namespace {

// What the workbench's Save output writes after the same run: the runner's
// step reports in log lists, then "%s\t%s\n" per line in text mode, which puts
// CR LF on disk. `reports` limits the calls as a user pressing Stop would.
std::string saveOutputAfterRun(const std::string& text, std::optional<int> reports = std::nullopt) {
    RecordingLogSink parserLog;
    RecordingLogSink statesLog;
    RecordingLogSink tapeLog;
    MachineRunner runner(&parserLog, &statesLog, &tapeLog);
    if (runner.parse(text.c_str()) != 1) {
        ADD_FAILURE() << "the description does not parse";
        return "";
    }
    for (int call = 0; (!reports || call < *reports) && runner.reportStep() == 1; ++call) {
    }
    std::string output;
    for (std::size_t i = 0; i < statesLog.lines.size(); ++i) {
        output += statesLog.lines[i].text + "\t" + tapeLog.lines.at(i).text + "\r\n";
    }
    return output;
}

class TmRunTrace : public ::testing::Test {
protected:
    std::string traceOf(const std::string& text, std::vector<std::string> options = {}) {
        options.insert(options.end(),
                       {"--trace", folder.path("trace.txt").string(), folder.write("m.txt", text)});
        lastRun = runTmRun(options);
        return readFileBytes(folder.path("trace.txt"));
    }

    ScratchFolder folder;
    TmRunResult lastRun;
};

// A finished run, one stopped after 70 steps (the start and 70 reports, no
// "Finished!") and a stuck one (its last line repeated once, by the step that
// shows that nothing changes any more) are each byte for byte
// what the workbench's Save output writes after as many reports.
TEST_F(TmRunTrace, EachRunIsByteForByteTheWorkbenchsSaveOutput) {
    const struct {
        std::string text;
        std::vector<std::string> options;
        int status;
        std::optional<int> reports;
    } runs[] = {
        {"tape(.11)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n(a,^,h,^,N)\n", {}, 0, std::nullopt},
        {"tape(.)\nstart(a)\nfinish(h)\n(a,^,a,1,R)\n", {"--max-steps", "70"}, 3, 71},
        {"tape(.112)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n", {}, 4, 4},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.text);
        EXPECT_EQ(traceOf(run.text, run.options), saveOutputAfterRun(run.text, run.reports));
        EXPECT_EQ(lastRun.status, run.status);
    }
}

TEST_F(TmRunTrace, AnUnwritableTraceIsAnError) {
    const std::string text = "tape(.11)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n(a,^,h,^,N)\n";
    const TmRunResult run = runTmRun(
        {"--trace", folder.path("nowhere/trace.txt").string(), folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("tm-run: cannot write " + folder.path("nowhere/trace.txt").string() +
                           ": No such file or directory\n"),
              std::string::npos)
        << run.err;

    const TmRunResult full = runTmRun({"--trace", "/dev/full", folder.path("m.txt").string()});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
    EXPECT_EQ(full.out, "") << "a run whose trace was lost is not reported complete";
}

}  // namespace
