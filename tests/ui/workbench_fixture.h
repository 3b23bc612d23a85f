// A started workbench (frame, menu, empty MDI client) over the stand-in's test mode.
#ifndef ZARN_TESTS_UI_WORKBENCH_FIXTURE_H
#define ZARN_TESTS_UI_WORKBENCH_FIXTURE_H

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <vector>

#include "ui/app_shell.h"
#include "ui/workbench.h"

class WorkbenchTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!win32test::isEnabled()) {
            win32test::enable();
        }
        initApplication(GetModuleHandleA(nullptr));
        frame = GetParent(mdiClient);
        ASSERT_TRUE(IsWindow(frame));
    }

    void TearDown() override { win32test::reset(); }

    bool choose(UINT command) { return win32test::chooseMenuCommand(frame, command); }

    HWND activeDocument() const {
        return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    }

    HWND newDocument() {
        choose(CMD_NEW);
        return activeDocument();
    }

    std::vector<HWND> documents() const { return win32test::childWindows(mdiClient); }

    HWND frame = nullptr;
};

#endif
