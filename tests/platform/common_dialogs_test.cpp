#include <commdlg.h>

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
    win32test::answerNextFileDialogWith("/tmp/machines/busy");
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_STREQ(path, "/tmp/machines/busy.txt");
    EXPECT_STREQ(title, "busy.txt");
    EXPECT_EQ(dialog.nFileOffset, 14);
    EXPECT_EQ(dialog.nFileExtension, 19);
    ASSERT_EQ(win32test::fileDialogsShown().size(), 1u);
    const win32test::FileDialogShown& shown = win32test::fileDialogsShown()[0];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.title, "Save file");
    EXPECT_EQ(shown.initialFile, "");
    EXPECT_EQ(shown.filters, (std::vector<std::string>{"Text files", "*.txt", "All files", "*.*"}));
    EXPECT_EQ(shown.owner, owner);
}

TEST_F(CommonDialogs, ACancelLeavesTheBufferAlone) {
    lstrcpyA(path, "output.txt");
    win32test::cancelNextFileDialog();
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_STREQ(path, "output.txt");
    EXPECT_EQ(win32test::fileDialogsShown()[0].initialFile, "output.txt");
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(CommonDialogs, APathLongerThanTheBufferIsRefused) {
    dialog.nMaxFile = 8;
    win32test::answerNextFileDialogWith("/tmp/long-name.txt");
    EXPECT_FALSE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(CommDlgExtendedError(), 0x3003u);
    EXPECT_STREQ(path, "");
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

TEST_F(CommonDialogs, AMessageBoxShowsItsTextAndGivesTheScriptedButton) {
    win32test::answerNextMessageBoxWith(IDOK);
    EXPECT_EQ(MessageBoxA(owner, "Unable to run\nErrors in turing machine", "Error", MB_OK | MB_ICONERROR), IDOK);
    ASSERT_EQ(win32test::messageBoxesShown().size(), 1u);
    const win32test::MessageBoxShown& shown = win32test::messageBoxesShown()[0];
    EXPECT_EQ(shown.text, "Unable to run\nErrors in turing machine");
    EXPECT_EQ(shown.caption, "Error");
    EXPECT_EQ(shown.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(shown.owner, owner);
}

}  // namespace
