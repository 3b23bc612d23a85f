#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform_test.h"

namespace {

constexpr char kFilter[] = "Text files\0*.txt\0All files\0*.*\0";

class CommonDialogs : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
        owner = createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        path[0] = '\0';
        title[0] = '\0';
        dialog = OPENFILENAMEA{};
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = kFilter;
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

TEST_F(CommonDialogs, TheChosenPathAndNameComeBackWithTheDefaultExtension) {
    const std::string folder = testing::TempDir();
    win32test::answerNextFileDialogWith(folder + "busy");
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(std::string(path), folder + "busy.txt");
    EXPECT_STREQ(title, "busy.txt");
    EXPECT_EQ(dialog.nFileOffset, folder.size());
    EXPECT_EQ(dialog.nFileExtension, folder.size() + 5);
    ASSERT_EQ(win32test::fileDialogsShown().size(), 1u);
    const win32test::FileDialogShown& shown = win32test::fileDialogsShown()[0];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.title, "Save file");
    EXPECT_EQ(shown.initialFile, "");
    EXPECT_EQ(shown.filters, (std::vector<std::string>{"Text files", "*.txt", "All files", "*.*"}));
    EXPECT_EQ(shown.owner, owner);
    EXPECT_EQ(shown.structSize, OPENFILENAME_SIZE_VERSION_400A);
    EXPECT_EQ(shown.filterIndex, 0u);
    EXPECT_EQ(shown.maxFile, 300u);
    EXPECT_EQ(shown.maxFileTitle, 200u);
}

TEST_F(CommonDialogs, ACancelLeavesTheBufferAlone) {
    lstrcpyA(path, "output.txt");
    win32test::cancelNextFileDialog();
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_STREQ(path, "output.txt");
    EXPECT_EQ(win32test::fileDialogsShown()[0].initialFile, "output.txt");
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

// As on Win32, the first two bytes of the path buffer then hold the size needed.
TEST_F(CommonDialogs, APathOrNameLongerThanItsBufferIsRefused) {
    dialog.nMaxFile = 8;
    win32test::answerNextFileDialogWith("/tmp/long-name.txt");
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), 0x3003u);
    EXPECT_EQ(path[0], 19);
    EXPECT_EQ(path[1], 0);

    dialog.nMaxFile = sizeof path;
    path[0] = '\0';
    const std::string longName(200, 'n');
    win32test::answerNextFileDialogWith("/tmp/" + longName);
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), 0x3003u);
    EXPECT_STREQ(path, "");
    EXPECT_STREQ(title, "");
}

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
    const std::vector<UINT> messages = messagesOf(owner);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), static_cast<UINT>(WM_TIMER)), 5);
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
