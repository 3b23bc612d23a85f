// A log list inside its host inside a document, set up the way documents do it.
#ifndef ZARN_TESTS_UI_LOG_LIST_FIXTURE_H
#define ZARN_TESTS_UI_LOG_LIST_FIXTURE_H

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui/log_list.h"
#include "workbench_fixture.h"

class LogListTest : public WorkbenchTest {
protected:
    // Five 20-pixel items fit into the list's client area.
    static constexpr RECT hostArea{0, 0, 300, 102};

    void SetUp() override {
        WorkbenchTest::SetUp();
        HWND document = newDocument();
        ASSERT_NE(document, nullptr);
        host = createLogHost(document, hostArea);
        ASSERT_NE(host, nullptr);
        list = createLogList(host, win32test::clientRect(host));
        ASSERT_NE(list, nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
        HDC dc = GetDC(list);
        SelectObject(dc, fixedFont);
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(list, dc);
    }

    // Paints the list and returns what the host drew for `index` in full
    // (ODA_DRAWENTIRE); fails the test when the item was not drawn.
    win32test::DrawCall paintedItem(UINT index) {
        win32test::clearDrawCalls();
        win32test::paint(list);
        for (const win32test::DrawCall& call : win32test::drawCalls()) {
            if (call.control == list && call.itemID == index && call.itemAction == ODA_DRAWENTIRE) {
                return call;
            }
        }
        ADD_FAILURE() << "item " << index << " was not drawn";
        return {};
    }

    HWND host = nullptr;
    HWND list = nullptr;
    TEXTMETRICA metrics{};
};

#endif
