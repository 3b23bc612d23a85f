#include "ui/log_list.h"

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

#include "log_list_fixture.h"

namespace {

using win32test::DrawCall;

using LogListAppendTest = LogListTest;

TEST_F(LogListAppendTest, LinesGoToTheEndWithoutAMarkerSelectedAndInView) {
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

using LogListDrawingTest = LogListTest;

// Items are 20 pixels high whatever the font. The text starts six pixels in,
// centred in the item; the box frames the marked column's character cell (8 by
// 16 pixels in the stand-in's fixed font) from the item's top. Negative
// columns, and one too far right for any screen, draw no box.
TEST_F(LogListDrawingTest, TextAndTheBoxAroundTheMarkedColumn) {
    ASSERT_EQ(metrics.tmAveCharWidth, 8);
    ASSERT_EQ(metrics.tmHeight, 16);
    HFONT large = CreateFontA(40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              FIXED_PITCH | FF_ROMAN, nullptr);
    HWND other = createLogList(host, win32test::clientRect(host));
    SendMessageA(other, WM_SETFONT, reinterpret_cast<WPARAM>(large), TRUE);
    EXPECT_EQ(SendMessageA(other, LB_GETITEMHEIGHT, 0, 0), 20);
    DestroyWindow(other);
    DeleteObject(large);
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
        const DrawCall drawn = paintedItem(1);
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
        EXPECT_EQ(drawn.result, TRUE);
    }
}

// The lists show no focus frame: focus changes reach the host and draw
// nothing, for an empty list (answered FALSE) and for a line (TRUE).
TEST_F(LogListDrawingTest, TakingTheFocusDrawsNothing) {
    for (const BOOL answer : {FALSE, TRUE}) {
        if (answer) {
            appendLogLine(list, "^^1101^^");
            SendMessageA(list, LB_SETITEMDATA, 0, 2);
        }
        SetFocus(frame);
        SetFocus(list);
        win32test::clearDrawCalls();
        win32test::paint(list);
        std::vector<BOOL> answers;
        for (const DrawCall& call : win32test::drawCalls()) {
            if (call.control == list && call.itemAction == ODA_FOCUS) {
                answers.push_back(call.result);
                EXPECT_TRUE(call.texts.empty() && call.lines.empty());
            }
        }
        EXPECT_EQ(answers, std::vector<BOOL>{answer});
    }
}

}  // namespace
