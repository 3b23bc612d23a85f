// A started workbench (frame, menu, empty MDI client) over the stand-in's test
// mode, and what the ui suites read back from it.
#ifndef ZARN_TESTS_UI_WORKBENCH_FIXTURE_H
#define ZARN_TESTS_UI_WORKBENCH_FIXTURE_H

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
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

class WorkbenchTest : public ::testing::Test {
protected:
    static inline const std::string workedExample =
        "tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n";
    // At the default pace a step is reported every fifth tick of 125 ms.
    static constexpr unsigned tick = 125;
    static constexpr unsigned reportPeriod = 5 * tick;

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

    // A window class of the test's own, for windows that stand in for the program's.
    static void registerClass(const char* name, WNDPROC procedure) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = appInstance;
        windowClass.lpszClassName = name;
        ASSERT_NE(RegisterClassA(&windowClass), 0) << name;
    }

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

    static std::string bytesOf(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    static void writeBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // Each file of the folder, by name.
    using Files = std::map<std::string, std::string>;
    static Files filesIn(const std::string& folder) {
        Files files;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files[entry.path().filename().string()] = bytesOf(entry.path().string());
        }
        return files;
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
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder);
    }

    std::string folder = testing::TempDir() + "ui_test_" +
                         testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
};

// While it lasts, a limit on file size fails every write past 4 KiB as a full
// disk would.
class FullDisk {
public:
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &before);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &before); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit before{};
};

#endif
