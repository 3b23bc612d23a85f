#include "tools/tm-run/trace_writer.h"

#include <gtest/gtest.h>

#include "tm_run_process.h"

namespace {

TEST(TraceWriter, PairsEachStatesLineWithTheTapeLineThatFollowsIt) {
    const ScratchFolder folder;
    TraceWriter trace;
    std::string error;
    ASSERT_TRUE(trace.open(folder.path("trace.txt").string(), error)) << error;
    trace.statesSink()->appendLogLine("(a,1)");
    trace.tapeSink()->appendLogLine("^^1");
    trace.statesSink()->appendLogLine("Finished!");
    trace.tapeSink()->appendLogLine("Finished!");
    ASSERT_TRUE(trace.close(error)) << error;
    EXPECT_EQ(readFileBytes(folder.path("trace.txt")), "(a,1)\t^^1\r\nFinished!\tFinished!\r\n");
}

TEST(TraceWriter, AFileThatCannotBeCreatedIsRefused) {
    const ScratchFolder folder;
    TraceWriter trace;
    std::string error;
    EXPECT_FALSE(trace.open(folder.path("no-such-folder/trace.txt").string(), error));
    EXPECT_EQ(error, "No such file or directory");
}

TEST(TraceWriter, AWriteThatFailsIsReportedAtTheLatestWhenClosing) {
    TraceWriter trace;
    std::string error;
    ASSERT_TRUE(trace.open("/dev/full", error)) << error;
    trace.statesSink()->appendLogLine("(a,1)");
    trace.tapeSink()->appendLogLine("^^1");
    EXPECT_FALSE(trace.close(error));
    EXPECT_EQ(error, "No space left on device");
}

}  // namespace
