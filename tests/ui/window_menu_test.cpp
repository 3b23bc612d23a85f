#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include "workbench_fixture.h"

namespace {

using WindowMenuTest = WorkbenchTest;

// The Window menu hands its work to the MDI client, whose geometry the
// stand-in's own tests check; here only that each item asks for its own
// arrangement: tiles span the client's width or its height, a cascade neither.
TEST_F(WindowMenuTest, EachItemArrangesTheDocumentsItsOwnWay) {
    const HWND documents[] = {newDocument(), newDocument()};
    const RECT area = win32test::clientRect(mdiClient);
    const struct {
        UINT command;
        bool fullWidth;
        bool fullHeight;
    } items[] = {
        {CMD_TILE_HORZ, true, false}, {CMD_TILE_VERT, false, true}, {CMD_CASCADE, false, false}};
    for (const auto& item : items) {
        SCOPED_TRACE(item.command);
        ASSERT_TRUE(choose(item.command));
        for (HWND document : documents) {
            const RECT rect = win32test::windowRect(document);
            EXPECT_EQ(rect.right - rect.left == area.right, item.fullWidth);
            EXPECT_EQ(rect.bottom - rect.top == area.bottom, item.fullHeight);
        }
    }
}

}  // namespace
