#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include "workbench_fixture.h"

namespace {

using WindowMenuTest = WorkbenchTest;

// The Window menu hands its work to the MDI client, whose tiling the stand-in's
// own tests check; here only that each item reaches it as itself.
TEST_F(WindowMenuTest, TileHorizontallyStacksTileVerticallySetsSideBySideCascadeOverlaps) {
    HWND first = newDocument();
    HWND second = newDocument();
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

}  // namespace
