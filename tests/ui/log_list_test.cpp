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
using win32test::LineDrawn;

using Segment = std::array<int, 4>;  // x0, y0, x1, y1

std::vector<Segment> segments(const std::vector<LineDrawn>& lines) {
    std::vector<Segment> result;
    for (const LineDrawn& line : lines) {
        result.push_back({line.x0, line.y0, line.x1, line.y1});
    }
    return result;
}

// A closed outline drawn clockwise from the top-left corner.
std::vector<Segment> boxAt(int left, int top, int width, int height) {
    const int right = left + width;
    const int bottom = top + height;
    return {{left, top, right, top},
            {right, top, right, bottom},
            {right, bottom, left, bottom},
            {left, bottom, left, top}};
}

using LogListAppendTest = LogListTest;

TEST_F(LogListAppendTest, LinesGoToTheEndWithoutAMarker) {
    EXPECT_EQ(appendLogLine(list, "first"), 0);
    EXPECT_EQ(appendLogLine(list, "second"), 1);
    EXPECT_EQ(appendLogLine(list, "third"), 2);
    const std::vector<win32test::ListItem> items = win32test::listItems(list);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "first");
    EXPECT_EQ(items[2].text, "third");
    for (const win32test::ListItem& item : items) {
        EXPECT_EQ(item.data, -1) << item.text;
    }
}

TEST_F(LogListAppendTest, NewLineIsSelectedAndScrolledIntoView) {
    ASSERT_EQ(win32test::listVisibleItemCount(list), 5);
    for (int line = 0; line < 40; ++line) {
        const int index = appendLogLine(list, ("line " + std::to_string(line)).c_str());
        ASSERT_EQ(index, line);
        EXPECT_EQ(win32test::listSelectedIndex(list), index);
        const int top = win32test::listTopIndex(list);
        EXPECT_LE(top, index);
        EXPECT_LT(index, top + win32test::listVisibleItemCount(list));
    }
}

// A list box that refuses every line, and remembers what else it was sent.
class RefusedLineTest : public WorkbenchTest {
protected:
    static LRESULT CALLBACK refusingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case LB_GETCOUNT:
                return 7;
            case LB_INSERTSTRING:
                return LB_ERRSPACE;
            case LB_SETITEMDATA:
            case LB_SETCURSEL:
                changes.push_back(message);
                return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    void SetUp() override {
        WorkbenchTest::SetUp();
        changes.clear();
        WNDCLASSA refusing{};
        refusing.lpfnWndProc = refusingProc;
        refusing.hInstance = appInstance;
        refusing.lpszClassName = "REFUSINGLIST";
        ASSERT_NE(RegisterClassA(&refusing), 0);
        list = CreateWindowExA(0, "REFUSINGLIST", nullptr, WS_CHILD, 0, 0, 100, 100, frame, nullptr,
                               appInstance, nullptr);
        ASSERT_NE(list, nullptr);
    }

    static inline std::vector<UINT> changes;
    HWND list = nullptr;
};

TEST_F(RefusedLineTest, ReturnsTheErrorAndMarksOrSelectsNothing) {
    EXPECT_EQ(appendLogLine(list, "no room"), LB_ERRSPACE);
    EXPECT_TRUE(changes.empty());
}

using LogListDrawingTest = LogListTest;

TEST_F(LogListDrawingTest, ItemsAreTwentyPixelsHighWhateverTheFont) {
    appendLogLine(list, "a");
    appendLogLine(list, "b");
    const DrawCall second = paintedItem(1);
    EXPECT_EQ(second.rcItem.top, 20);
    EXPECT_EQ(second.rcItem.bottom, 40);

    HFONT large = CreateFontA(40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              FIXED_PITCH | FF_ROMAN, nullptr);
    HWND other = createLogList(host, win32test::clientRect(host));
    SendMessageA(other, WM_SETFONT, reinterpret_cast<WPARAM>(large), TRUE);
    EXPECT_EQ(SendMessageA(other, LB_GETITEMHEIGHT, 0, 0), 20);
    DestroyWindow(other);
    DeleteObject(large);
}

TEST_F(LogListDrawingTest, TextStartsAtSixPixelsCentredInTheItem) {
    appendLogLine(list, "(q0,1,q1,0,R)");
    const DrawCall drawn = paintedItem(0);
    ASSERT_EQ(drawn.texts.size(), 1u);
    EXPECT_EQ(drawn.texts[0].text, "(q0,1,q1,0,R)");
    EXPECT_EQ(drawn.texts[0].x, 6);
    EXPECT_EQ(drawn.texts[0].y, (drawn.rcItem.top + drawn.rcItem.bottom - metrics.tmHeight) / 2);
    EXPECT_TRUE(drawn.lines.empty());
    EXPECT_EQ(drawn.result, TRUE);
}

TEST_F(LogListDrawingTest, MarkerBoxFramesItsCharacterFromTheItemTop) {
    const int width = metrics.tmAveCharWidth;
    const int height = metrics.tmHeight;
    ASSERT_GT(width, 0);
    for (int column : {0, 1, 2, 59, 60, 75}) {
        SCOPED_TRACE(column);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        appendLogLine(list, "^^1101^^");
        const int index = appendLogLine(list, "^^1101^^");
        SendMessageA(list, LB_SETITEMDATA, index, column);
        const DrawCall drawn = paintedItem(index);
        EXPECT_EQ(segments(drawn.lines),
                  boxAt(6 + column * width, drawn.rcItem.top, width, height));
    }
}

// Negative columns, and one too far right for any screen.
TEST_F(LogListDrawingTest, MarkersOutsideTheLineDrawNoBox) {
    for (int column : {-1, -2, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(column);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        appendLogLine(list, "^^1101^^");
        SendMessageA(list, LB_SETITEMDATA, 0, column);
        const DrawCall drawn = paintedItem(0);
        EXPECT_TRUE(drawn.lines.empty());
        ASSERT_EQ(drawn.texts.size(), 1u);
        EXPECT_EQ(drawn.texts[0].text, "^^1101^^");
    }
}

TEST_F(LogListDrawingTest, LongLineIsDrawnWhole) {
    std::string line;
    for (int i = 0; i < 300; ++i) {
        line += static_cast<char>(1 + i % 255);
    }
    appendLogLine(list, line.c_str());
    const DrawCall drawn = paintedItem(0);
    ASSERT_EQ(drawn.texts.size(), 1u);
    EXPECT_EQ(drawn.texts[0].text, line);
}

// The lists show no focus frame: focus changes reach the host and draw nothing.
using LogHostTest = LogListTest;

// What the host drew when the list took the focus and was painted.
std::vector<DrawCall> focusDrawing(HWND list) {
    SetFocus(list);
    win32test::clearDrawCalls();
    win32test::paint(list);
    std::vector<DrawCall> calls;
    for (const DrawCall& call : win32test::drawCalls()) {
        if (call.control == list && call.itemAction == ODA_FOCUS) {
            calls.push_back(call);
        }
    }
    return calls;
}

TEST_F(LogHostTest, EmptyListTakingTheFocusDrawsNothingAndIsAnsweredFalse) {
    const std::vector<DrawCall> calls = focusDrawing(list);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].itemID, static_cast<UINT>(-1));
    EXPECT_EQ(calls[0].result, FALSE);
    EXPECT_TRUE(calls[0].texts.empty());
    EXPECT_TRUE(calls[0].lines.empty());
}

TEST_F(LogHostTest, FocusOnALineDrawsNothingAndIsAnsweredTrue) {
    appendLogLine(list, "^^1101^^");
    SendMessageA(list, LB_SETITEMDATA, 0, 2);
    const std::vector<DrawCall> calls = focusDrawing(list);
    ASSERT_FALSE(calls.empty());
    for (const DrawCall& call : calls) {
        EXPECT_EQ(call.itemID, 0u);
        EXPECT_EQ(call.result, TRUE);
        EXPECT_TRUE(call.texts.empty());
        EXPECT_TRUE(call.lines.empty());
    }
}

}  // namespace
