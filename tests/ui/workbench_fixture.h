// A started workbench (frame, menu, empty MDI client) over the stand-in's test
// mode, and what the ui suites read back from it.
#ifndef ZARN_TESTS_UI_WORKBENCH_FIXTURE_H
#define ZARN_TESTS_UI_WORKBENCH_FIXTURE_H

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ui/app_shell.h"
#include "ui/document_data.h"
#include "ui/workbench.h"

// At the default pace a step is reported every fifth tick of 125 ms.
constexpr unsigned tick = 125;
constexpr unsigned reportPeriod = 5 * tick;

inline std::string bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each file of the folder, by name.
using Files = std::map<std::string, std::string>;
inline Files filesIn(const std::string& folder) {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = bytesOf(entry.path().string());
    }
    return files;
}

// Stands between a control and its own window procedure, for the times the
// system says no: once `allowed` messages numbered `refused` have gone
// through, it answers the others with `refusal`. It keeps every text set into
// the control, and counts the markers set on negative line numbers, which
// Win32 would put on every line.
namespace interception {

inline WNDPROC original;
inline UINT refused;
inline int allowed;
inline LRESULT refusal;
inline std::vector<std::string> textsSet;
inline int negativeMarks;

inline LRESULT CALLBACK procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        textsSet.emplace_back(reinterpret_cast<const char*>(lParam));
    }
    negativeMarks += message == LB_SETITEMDATA && static_cast<int>(wParam) < 0;
    if (message == refused && allowed-- <= 0) {
        return refusal;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

inline void install(HWND control, UINT refusedMessage, int allowedCount, LRESULT answer) {
    original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    refused = refusedMessage;
    allowed = allowedCount;
    refusal = answer;
    textsSet.clear();
    negativeMarks = 0;
}

}  // namespace interception

class WorkbenchTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::enable();
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

    static DocumentData& dataOf(HWND document) { return *documentData(document); }

    static std::vector<std::string> lines(HWND list) {
        std::vector<std::string> texts;
        for (const win32test::ListItem& item : win32test::listItems(list)) {
            texts.push_back(item.text);
        }
        return texts;
    }

    // Each failure is told in one box with an error icon.
    static void expectErrorBox(const std::string& text) {
        ASSERT_EQ(win32test::messageBoxesShown().size(), 1u);
        const win32test::MessageBoxShown& box = win32test::messageBoxesShown()[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }

    HWND frame = nullptr;
};

// A workbench and a folder of the test's own, named after the test so that
// tests run side by side never share it.
class WorkbenchFolderTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        WorkbenchTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    std::string folder = testing::TempDir() + "ui_test_" +
                         testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
};

#endif
