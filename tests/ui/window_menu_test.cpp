#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <vector>

#include "workbench_fixture.h"

namespace {

// The Window menu hands its work to the MDI client, whose tiling and document
// list the stand-in's own tests check; here only that each item reaches it.
class WindowMenuTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        first = newDocument();
        second = newDocument();
        ASSERT_NE(first, second);
    }

    HWND first = nullptr;
    HWND second = nullptr;
};

TEST_F(WindowMenuTest, TileHorizontallyStacksTileVerticallySetsSideBySideCascadeOverlaps) {
    const RECT area = win32test::clientRect(mdiClient);
    ASSERT_TRUE(choose(CMD_TILE_HORZ));
    RECT a = win32test::windowRect(first);
    RECT b = win32test::windowRect(second);
    EXPECT_EQ(a.right - a.left, area.right);
    EXPECT_NE(a.top, b.top);

    ASSERT_TRUE(choose(CMD_TILE_VERT));
    a = win32test::windowRect(first);
    b = win32test::windowRect(second);
    EXPECT_EQ(a.bottom - a.top, area.bottom);
    EXPECT_NE(a.left, b.left);

    ASSERT_TRUE(choose(CMD_CASCADE));
    a = win32test::windowRect(first);
    b = win32test::windowRect(second);
    EXPECT_LT(a.left, b.left);
    EXPECT_LT(b.left, a.right);
    EXPECT_LT(a.top, b.top);
}

TEST_F(WindowMenuTest, ListsTheDocumentsAfterItsItemsAndPickingOneActivatesIt) {
    const HMENU windowMenu = GetSubMenu(GetMenu(frame), 3);
    const std::vector<win32test::MenuItem> items = win32test::menuItems(windowMenu);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_TRUE(items[3].separator);
    EXPECT_EQ(items[4].text, "&1 Untitled");
    EXPECT_EQ(items[5].text, "&2 Untitled");
    EXPECT_TRUE(items[5].checked);
    ASSERT_TRUE(choose(items[4].id));
    EXPECT_EQ(activeDocument(), first);
    EXPECT_TRUE(win32test::menuItemChecked(windowMenu, items[4].id));
}

}  // namespace
