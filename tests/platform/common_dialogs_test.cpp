#include <commdlg.h>

#include <cstdio>
#include <string>

#include "platform_test.h"

namespace {

constexpr char filter[] = "Text files\0*.txt\0All files\0*.*\0";

class CommonDialogs : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        owner =
            conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter;
        dialog.lpstrFile = path;
        dialog.nMaxFile = sizeof path;
        dialog.lpstrFileTitle = title;
        dialog.nMaxFileTitle = 200;
        dialog.lpstrTitle = "Save file";
        dialog.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
        dialog.lpstrDefExt = "txt";
    }
    HWND owner = nullptr;
    char path[300] = {};
    char title[300] = {};
    OPENFILENAMEA dialog{};
};

// A real dialog stays open and the user tries again, so the next answer counts.
TEST_F(CommonDialogs, AFolderOrAPathIntoAMissingFolderKeepsTheDialogOpen) {
    win32test::answerNextFileDialogWith(testing::TempDir() + "missing-folder/busy.txt");
    win32test::answerNextFileDialogWith(testing::TempDir());
    win32test::answerNextFileDialogWith(testing::TempDir() + "busy");
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(std::string(path), testing::TempDir() + "busy.txt");
    EXPECT_EQ(win32test::fileDialogsShown().size(), 1u);
}

TEST_F(CommonDialogs, TimersFireWhileAScriptedDialogStandsOpen) {
    SetTimer(owner, 1, 125, nullptr);
    win32test::cancelNextFileDialog([] { win32test::advanceClock(625); });
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(conformance::countOf(owner, WM_TIMER), 5);
}

TEST_F(CommonDialogs, OpenWaitsForAFileThatExists) {
    const std::string existing = testing::TempDir() + "existing.txt";
    std::FILE* file = std::fopen(existing.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    dialog.Flags |= OFN_FILEMUSTEXIST;
    win32test::answerNextFileDialogWith(testing::TempDir() + "missing.txt");
    win32test::answerNextFileDialogWith(existing);
    ASSERT_TRUE(GetOpenFileNameA(&dialog));
    EXPECT_EQ(std::string(path), existing);
    EXPECT_FALSE(win32test::fileDialogsShown()[0].save);
    std::remove(existing.c_str());
}

}  // namespace
