#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "workbench_fixture.h"

namespace {

// Two documents in a workspace of a known size.
class WindowMenuTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        ASSERT_TRUE(win32test::resizeClient(frame, 780, 540));
        first = newDocument();
        second = newDocument();
        ASSERT_NE(first, second);
        const RECT area = win32test::clientRect(mdiClient);
        width = area.right - area.left;
        height = area.bottom - area.top;
    }

    HMENU windowMenu() const { return GetSubMenu(GetMenu(frame), 3); }

    HWND first = nullptr;
    HWND second = nullptr;
    int width = 0;
    int height = 0;
};

using Rect = std::array<LONG, 4>;  // left, top, right, bottom

// The documents' rectangles, in whichever order tiling gave them their places.
std::vector<Rect> sortedRects(const std::vector<HWND>& windows) {
    std::vector<Rect> rects;
    for (HWND window : windows) {
        const RECT r = win32test::windowRect(window);
        rects.push_back({r.left, r.top, r.right, r.bottom});
    }
    std::sort(rects.begin(), rects.end());
    return rects;
}

TEST_F(WindowMenuTest, TileHorizontallyStacksDocumentsOneAboveTheOther) {
    ASSERT_TRUE(choose(CMD_TILE_HORZ));
    EXPECT_EQ(sortedRects({first, second}),
              (std::vector<Rect>{{0, 0, width, height / 2}, {0, height / 2, width, height}}));
}

TEST_F(WindowMenuTest, TileVerticallyPlacesDocumentsSideBySide) {
    ASSERT_TRUE(choose(CMD_TILE_VERT));
    EXPECT_EQ(sortedRects({first, second}),
              (std::vector<Rect>{{0, 0, width / 2, height}, {width / 2, 0, width, height}}));
}

TEST_F(WindowMenuTest, CascadeOverlapsDocumentsDownAndToTheRight) {
    choose(CMD_TILE_VERT);
    ASSERT_TRUE(choose(CMD_CASCADE));
    const RECT back = win32test::windowRect(first);
    const RECT front = win32test::windowRect(second);
    EXPECT_LT(back.left, front.left);
    EXPECT_LT(back.top, front.top);
    EXPECT_LT(front.left, back.right);
    EXPECT_LT(front.top, back.bottom);
}

TEST_F(WindowMenuTest, ListsOpenDocumentsWithTheActiveOneChecked) {
    const std::vector<win32test::MenuItem> items = win32test::menuItems(windowMenu());
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(CMD_TILE_HORZ));
    EXPECT_EQ(items[1].id, static_cast<UINT>(CMD_TILE_VERT));
    EXPECT_EQ(items[2].id, static_cast<UINT>(CMD_CASCADE));
    EXPECT_TRUE(items[3].separator);
    EXPECT_EQ(items[4].text, "&1 Untitled");
    EXPECT_EQ(items[4].id, 100u);
    EXPECT_FALSE(items[4].checked);
    EXPECT_EQ(items[5].text, "&2 Untitled");
    EXPECT_EQ(items[5].id, 101u);
    EXPECT_TRUE(items[5].checked);
}

TEST_F(WindowMenuTest, PickingADocumentActivatesIt) {
    ASSERT_TRUE(choose(100));
    EXPECT_EQ(activeDocument(), first);
    EXPECT_TRUE(win32test::menuItemChecked(windowMenu(), 100));
    EXPECT_FALSE(win32test::menuItemChecked(windowMenu(), 101));
}

}  // namespace
