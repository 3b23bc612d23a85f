#include "ui/log_list_sink.h"

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "log_list_fixture.h"
#include "ui/log_list.h"

namespace {

using LogListSinkTest = LogListTest;

// The runner writes into three lists exactly as a document will wire it.
TEST_F(LogListSinkTest, RunnerStepsShowUpInTheListsWithTheHeadBoxed) {
    HWND statesList = createLogList(host, win32test::clientRect(host));
    HWND tapeList = createLogList(host, win32test::clientRect(host));
    LogListSink parserLog(list);
    LogListSink statesLog(statesList);
    LogListSink tapeLog(tapeList);
    MachineRunner runner(&parserLog, &statesLog, &tapeLog);
    ASSERT_EQ(win32test::listItems(list).at(0).text, "ZARN Turing Machine 1.00");

    ASSERT_EQ(runner.parse("finish(h)\n(a,^,h,^,N)\ntape(.11)\n(a,1,a,0,R)\nstart(a)"), 1);
    runner.reportStep();
    runner.reportStep();
    const std::vector<win32test::ListItem> tape = win32test::listItems(tapeList);
    ASSERT_EQ(tape.size(), 2u);
    EXPECT_EQ(tape[1].text.substr(0, 4), "^^01");
    EXPECT_EQ(tape[1].data, 3);
    EXPECT_EQ(win32test::listSelectedIndex(tapeList), 1);
    EXPECT_EQ(win32test::listItems(statesList).at(1).text, "(a,1,a,0,R)");
}

}  // namespace
