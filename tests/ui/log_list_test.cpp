#include "ui/log_list.h"

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "workbench_fixture.h"

namespace {

using win32test::DrawCall;

// A log list inside its host inside a document, set up the way documents do
// it, in the stand-in's fixed font of 8 by 16 pixels.
class LogListTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        // Five 20-pixel items fit into the list's client area.
        host = createLogHost(newDocument(), {0, 0, 300, 102});
        list = createLogList(host, win32test::clientRect(host));
        ASSERT_NE(list, nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    }

    // Paints the list and returns how it drew `index` for `action`; fails the
    // test when it did not.
    DrawCall painted(UINT index, UINT action = ODA_DRAWENTIRE) {
        win32test::clearDrawCalls();
        win32test::paint(list);
        for (const DrawCall& call : win32test::drawCalls()) {
            if (call.itemID == index && call.itemAction == action) {
                return call;
            }
        }
        ADD_FAILURE() << "item " << index << " was not drawn for action " << action;
        return {};
    }

    HWND host = nullptr;
    HWND list = nullptr;
};

TEST_F(LogListTest, LinesGoToTheEndWithoutAMarkerSelectedAndInView) {
    ASSERT_EQ(win32test::listVisibleItemCount(list), 5);
    for (int line = 0; line < 40; ++line) {
        const int index = appendLogLine(list, ("line " + std::to_string(line)).c_str());
        ASSERT_EQ(index, line);
        EXPECT_EQ(win32test::listItems(list).back().text, "line " + std::to_string(line));
        EXPECT_EQ(win32test::listItems(list).back().data, -1) << "no marker on line " << line;
        EXPECT_EQ(win32test::listSelectedIndex(list), index);
        const int top = win32test::listTopIndex(list);
        EXPECT_LE(top, index);
        EXPECT_LT(index, top + win32test::listVisibleItemCount(list));
    }
}

// Items are 20 pixels high. The text starts six pixels in, centred in the
// item; the box frames the marked column's character cell from the item's
// top. Negative columns, and one too far right for any screen, draw no box.
TEST_F(LogListTest, TextAndTheBoxAroundTheMarkedColumn) {
    std::string longLine;
    for (int i = 0; i < 300; ++i) {
        longLine += static_cast<char>(1 + i % 255);
    }
    const int noBox = -1;
    const struct {
        std::string text;
        int column;
        int boxLeft;
    } rows[] = {{"^^1101^^", 0, 6},    {"^^1101^^", 2, 22},     {"^^1101^^", 60, 486},
                {longLine, 75, 606},   {"^^1101^^", -1, noBox}, {"^^1101^^", -2, noBox},
                {"x", INT_MIN, noBox}, {"x", INT_MAX, noBox}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.column);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        appendLogLine(list, "first");
        appendLogLine(list, row.text.c_str());
        SendMessageA(list, LB_SETITEMDATA, 1, row.column);
        const DrawCall drawn = painted(1);
        ASSERT_EQ(drawn.texts.size(), 1u);
        EXPECT_EQ(drawn.texts[0].text, row.text);
        EXPECT_EQ(drawn.texts[0].x, 6);
        EXPECT_EQ(drawn.texts[0].y, 22);
        std::vector<std::array<int, 4>> box;
        for (const win32test::LineDrawn& line : drawn.lines) {
            box.push_back({line.x0, line.y0, line.x1, line.y1});
        }
        using Box = std::vector<std::array<int, 4>>;
        const int x0 = row.boxLeft;
        const int x1 = x0 + 8;
        const Box expected =
            row.boxLeft == noBox
                ? Box{}
                : Box{{x0, 20, x1, 20}, {x1, 20, x1, 36}, {x1, 36, x0, 36}, {x0, 36, x0, 20}};
        EXPECT_EQ(box, expected);
    }
}

// The lists show no focus frame: the focus coming to a line draws nothing.
TEST_F(LogListTest, TakingTheFocusDrawsNothing) {
    appendLogLine(list, "^^1101^^");
    SendMessageA(list, LB_SETITEMDATA, 0, 2);
    SetFocus(list);
    const DrawCall focus = painted(0, ODA_FOCUS);
    EXPECT_TRUE(focus.texts.empty() && focus.lines.empty());
}

}  // namespace
