#include <commdlg.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#include <win32_test.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/document_window.h"
#include "workbench_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string workedExample =
    "tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n";
// At the default speed a step is reported every fifth tick of 125 ms.
constexpr unsigned reportPeriod = 5 * 125;

// Documents, their files and the error boxes about them. Each test works in a
// folder of its own; the only files in it are those the test expects.
class DocumentFilesTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        WorkbenchTest::TearDown();
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    static DocumentData& dataOf(HWND document) { return *documentData(document); }
    static std::string editorText(HWND document) {
        return win32test::windowText(dataOf(document).editor);
    }
    static void setEditorText(HWND document, const std::string& text) {
        SetWindowTextA(dataOf(document).editor, text.c_str());
    }
    static std::string bytesOf(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    static void writeBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static void writeReadOnlyFile(const std::string& path, const std::string& bytes) {
        writeBytes(path, bytes);
        fs::permissions(path, fs::perms::owner_read);
    }
    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> linesOf(HWND list) {
        std::vector<std::string> lines;
        for (const win32test::ListItem& item : win32test::listItems(list)) {
            lines.push_back(item.text);
        }
        return lines;
    }

    HWND openFile(const std::string& path) {
        win32test::answerNextFileDialogWith(path);
        choose(CMD_OPEN);
        return activeDocument();
    }
    void saveAs(const std::string& path) {
        win32test::answerNextFileDialogWith(path);
        choose(CMD_SAVE_AS);
    }
    void saveOutput(const std::string& path) {
        win32test::answerNextFileDialogWith(path);
        choose(CMD_SAVE_OUTPUT);
    }
    void runToTheEnd(HWND document, const std::string& description) {
        setEditorText(document, description);
        choose(CMD_RUN);
        win32test::advanceClock(30 * reportPeriod);
        ASSERT_EQ(dataOf(document).stepping, 0) << "the machine has not finished";
    }

    // Each failure is told in one box, "Unable to ..." over the file's path.
    static void expectErrorBox(const std::string& text) {
        ASSERT_EQ(win32test::messageBoxesShown().size(), 1u);
        const win32test::MessageBoxShown& box = win32test::messageBoxesShown()[0];
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
    // Root may write anywhere it is denied by mode bits; /sys refuses new files to root too.
    std::string folderWithoutWriteAccess() const {
        const std::string locked = folder + "locked";
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        return access(locked.c_str(), W_OK) == 0 ? "/sys" : locked;
    }

    // Named after the test, so that tests run side by side never share it.
    std::string folder = testing::TempDir() + "document_files_test_" +
                         testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::string path = folder + "machine.txt";
};

using Saving = DocumentFilesTest;

TEST_F(Saving, AnEmptyEditorWritesOneNulByte) {
    newDocument();
    saveAs(path);
    EXPECT_EQ(bytesOf(path), std::string(1, '\0'));
}

TEST_F(Saving, WritesTheTextAndOneNulAndOpensBackTheSameText) {
    const std::string text = "tape(.1\xE9\xFF)\r\nstart(\x80q)\r\n\r\n";
    HWND document = newDocument();
    setEditorText(document, text);
    saveAs(path);
    EXPECT_EQ(bytesOf(path), text + '\0');

    HWND opened = openFile(path);
    ASSERT_NE(opened, document);
    EXPECT_EQ(editorText(opened), text);
    EXPECT_EQ(win32test::windowText(opened), "machine.txt");
}

TEST_F(Saving, ANewDocumentAsksForANameUntilOneIsChosen) {
    HWND document = newDocument();
    setEditorText(document, "start(a)");
    win32test::cancelNextFileDialog();
    choose(CMD_SAVE);
    EXPECT_EQ(win32test::windowText(document), "Untitled");
    EXPECT_EQ(dataOf(document).hasFileName, 0);
    EXPECT_TRUE(filesInFolder().empty());

    win32test::answerNextFileDialogWith(folder + "busy");
    choose(CMD_SAVE);
    ASSERT_EQ(win32test::fileDialogsShown().size(), 2u);
    const win32test::FileDialogShown& shown = win32test::fileDialogsShown()[1];
    EXPECT_TRUE(shown.save);
    EXPECT_EQ(shown.title, "Save file");
    EXPECT_EQ(shown.owner, document);
    EXPECT_EQ(shown.initialFile, "");
    EXPECT_EQ(shown.filters, (std::vector<std::string>{"Text files", "*.txt", "All files", "*.*"}));
    EXPECT_EQ(shown.filterIndex, 0u);
    EXPECT_EQ(shown.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES));
    EXPECT_EQ(shown.defaultExtension, "txt");
    EXPECT_EQ(win32test::windowText(document), "busy.txt");
    EXPECT_EQ(bytesOf(folder + "busy.txt"), std::string("start(a)") + '\0');
}

TEST_F(Saving, ANamedDocumentReplacesItsFileAtOnceKeepingItsPermissions) {
    HWND document = newDocument();
    saveAs(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    setEditorText(document, "tape(.1)");
    choose(CMD_SAVE);
    EXPECT_EQ(win32test::fileDialogsShown().size(), 1u);
    EXPECT_EQ(bytesOf(path), std::string("tape(.1)") + '\0');
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"machine.txt"});

    saveAs(folder + "copy");
    EXPECT_EQ(win32test::fileDialogsShown()[1].initialFile, path);
    EXPECT_STREQ(dataOf(document).filePath, (folder + "copy.txt").c_str());
    EXPECT_EQ(win32test::windowText(document), "copy.txt");
}

TEST_F(Saving, AFailedSaveAsLeavesANewDocumentUntitled) {
    HWND document = newDocument();
    writeReadOnlyFile(path, "read-only");
    win32test::answerNextMessageBoxWith(IDOK);
    saveAs(path);
    expectErrorBox("Unable to save\n" + path + "\nFile is read-only");
    EXPECT_EQ(bytesOf(path), "read-only");
    EXPECT_EQ(dataOf(document).hasFileName, 0);
    EXPECT_STREQ(dataOf(document).filePath, "");
    EXPECT_EQ(win32test::windowText(document), "Untitled");
    win32test::cancelNextFileDialog();
    choose(CMD_SAVE);
    EXPECT_EQ(win32test::fileDialogsShown().size(), 2u);
}

using Loading = DocumentFilesTest;

TEST_F(Loading, OpenGivesANewDocumentNamedAfterTheFileAndIdle) {
    writeBytes(path, workedExample + '\0');
    HWND document = openFile(folder + "machine");
    ASSERT_NE(document, nullptr);
    const win32test::FileDialogShown& shown = win32test::fileDialogsShown()[0];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.title, "Open file");
    EXPECT_EQ(shown.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                                              OFN_LONGNAMES));
    EXPECT_EQ(shown.defaultExtension, "txt");
    EXPECT_EQ(editorText(document), workedExample);
    EXPECT_EQ(win32test::windowText(document), "machine.txt");
    EXPECT_EQ(dataOf(document).hasFileName, 1);
    EXPECT_EQ(dataOf(document).stepping, 0);
    EXPECT_EQ(linesOf(dataOf(document).parserLog),
              std::vector<std::string>{"ZARN Turing Machine 1.00"});
    EXPECT_TRUE(linesOf(dataOf(document).statesLog).empty());
    EXPECT_TRUE(linesOf(dataOf(document).tapeLog).empty());
}

TEST_F(Loading, TakesTheBytesBeforeTheFirstNulAndShowsEveryLineBreakAsALine) {
    writeBytes(path, std::string("start(a)\nfinish(h)\r\ntape(.1)\0(a,1,h,1,N)", 40));
    EXPECT_EQ(editorText(openFile(path)), "start(a)\r\nfinish(h)\r\ntape(.1)");
    writeBytes(path, "");
    EXPECT_EQ(editorText(openFile(path)), "");
}

TEST_F(Loading, CancelOrAFailedLoadClosesTheNewDocument) {
    win32test::cancelNextFileDialog();
    choose(CMD_OPEN);
    EXPECT_TRUE(documents().empty());

    writeBytes(path, "held");
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    win32test::answerNextMessageBoxWith(IDOK);
    openFile(path);
    CloseHandle(holder);
    expectErrorBox(
        "Unable to open\n" + path +
        "\nThe process cannot access the file because it is being used by another process.");
    EXPECT_TRUE(documents().empty());
}

TEST_F(Loading, AFileOver4GbIsRefusedAsTooLarge) {
    writeBytes(path, "");
    fs::resize_file(path, 0x100000001ull);
    win32test::answerNextMessageBoxWith(IDOK);
    openFile(path);
    expectErrorBox("Unable to open\n" + path + "\nFile too large");
    EXPECT_TRUE(documents().empty());
}

TEST_F(Loading, AMissingFileOrAnOverlongPathLeavesEditorAndNameAlone) {
    writeBytes(path, std::string("kept") + '\0');
    HWND document = openFile(path);
    const std::string missing = folder + "missing.txt";
    win32test::answerNextMessageBoxWith(IDOK);
    SendMessageA(document, TMM_LOAD, 0, reinterpret_cast<LPARAM>(missing.c_str()));
    expectErrorBox("Unable to open\n" + missing + "\nThe system cannot find the file specified.");

    const std::string overlong = folder + std::string(300, 'n');
    win32test::answerNextMessageBoxWith(IDOK);
    SendMessageA(document, TMM_LOAD, 0, reinterpret_cast<LPARAM>(overlong.c_str()));
    EXPECT_EQ(win32test::messageBoxesShown().back().text,
              "Unable to open\n" + overlong + "\nFile name too long");
    EXPECT_EQ(editorText(document), "kept");
    EXPECT_STREQ(dataOf(document).filePath, path.c_str());
}

// Every failure to save keeps the earlier file byte for byte, leaves nothing
// new beside it, and keeps the document's name.
class FailedSave : public DocumentFilesTest {
protected:
    void SetUp() override {
        DocumentFilesTest::SetUp();
        document = newDocument();
        setEditorText(document, "earlier");
        saveAs(path);
        setEditorText(document, std::string(100000, 'x'));
        win32test::answerNextMessageBoxWith(IDOK);
    }
    void expectNothingChanged() {
        EXPECT_EQ(bytesOf(path), std::string("earlier") + '\0');
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{"machine.txt"});
        EXPECT_STREQ(dataOf(document).filePath, path.c_str());
        EXPECT_EQ(dataOf(document).hasFileName, 1);
        EXPECT_EQ(win32test::windowText(document), "machine.txt");
    }
    HWND document = nullptr;
};

TEST_F(FailedSave, AReadOnlyFileIsRefusedEvenToRoot) {
    fs::permissions(path, fs::perms::owner_read);
    choose(CMD_SAVE);
    expectErrorBox("Unable to save\n" + path + "\nFile is read-only");
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    expectNothingChanged();
}

TEST_F(FailedSave, AFileHeldOpenElsewhereIsLeftAlone) {
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    choose(CMD_SAVE);
    CloseHandle(holder);
    expectErrorBox(
        "Unable to save\n" + path +
        "\nThe process cannot access the file because it is being used by another process.");
    expectNothingChanged();
}

TEST_F(FailedSave, AFullDiskLeavesNoPartOfTheNewText) {
    // A limit on file size fails the write as a full disk would.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{4096, limit.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    choose(CMD_SAVE);
    setrlimit(RLIMIT_FSIZE, &limit);
    expectErrorBox("Unable to save\n" + path + "\nThere is not enough space on the disk.");
    expectNothingChanged();
}

TEST_F(FailedSave, SaveAsIntoAFolderWithoutWriteAccessKeepsTheOldName) {
    const std::string denied = folderWithoutWriteAccess() + "/machine.txt";
    saveAs(denied);
    expectErrorBox("Unable to save\n" + denied + "\nAccess is denied.");
    EXPECT_FALSE(fs::exists(denied));
    fs::remove(folder + "locked");
    expectNothingChanged();
}

TEST_F(FailedSave, APathThatIsAFolderIsRefused) {
    fs::create_directory(folder + "folder.txt");
    const std::string target = folder + "folder.txt";
    SendMessageA(document, TMM_SAVE, 0, reinterpret_cast<LPARAM>(target.c_str()));
    expectErrorBox("Unable to save\n" + target + "\nAccess is denied.");
    EXPECT_TRUE(fs::is_empty(target));
    fs::remove(target);
    expectNothingChanged();
}

using SavingOutput = DocumentFilesTest;

TEST_F(SavingOutput, BeforeAnyRunWritesAnEmptyFileOfferingOutputTxt) {
    newDocument();
    saveOutput(folder + "first");
    const win32test::FileDialogShown& shown = win32test::fileDialogsShown()[0];
    EXPECT_EQ(shown.title, "Save output");
    EXPECT_EQ(shown.initialFile, "output.txt");
    EXPECT_EQ(shown.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES));
    EXPECT_EQ(shown.maxFileTitle, 0u);
    EXPECT_EQ(bytesOf(folder + "first.txt"), "");
    saveOutput(folder + "second.txt");
    EXPECT_EQ(win32test::fileDialogsShown()[1].initialFile, "output.txt");
}

TEST_F(SavingOutput, AFinishedRunOfTheWorkedExampleGivesItsStepsSideBySide) {
    HWND document = newDocument();
    runToTheEnd(document, workedExample);
    saveOutput(path);
    const std::string blanks(56, '^');
    EXPECT_EQ(bytesOf(path), "(a,1)\t^^11" + blanks + "\r\n" +            //
                                 "(a,1,a,0,R)\t^^01" + blanks + "\r\n" +  //
                                 "(a,1,a,0,R)\t^^00" + blanks + "\r\n" +  //
                                 "(a,^,h,^,0)\t^^00" + blanks + "\r\n" +  //
                                 "Finished!\tFinished!\r\n");
    EXPECT_EQ(dataOf(document).hasFileName, 0);
    EXPECT_EQ(win32test::windowText(document), "Untitled");
}

TEST_F(SavingOutput, LongStateNamesAreWrittenWhole) {
    const std::string start(95, 'q');
    const std::string finish(95, 'h');
    HWND document = newDocument();
    runToTheEnd(document, "tape(.1)\r\nstart(" + start + ")\r\nfinish(" + finish + ")\r\n(" +
                              start + ",1," + finish + ",1,N)");
    saveOutput(path);
    const std::string tape = "^^1" + std::string(57, '^');
    EXPECT_EQ(bytesOf(path), "(" + start + ",1)\t" + tape + "\r\n(" + start + ",1," + finish +
                                 ",1,0)\t" + tape + "\r\nFinished!\tFinished!\r\n");
}

TEST_F(SavingOutput, WhileAMachineRunsTheFileHoldsTheLogsAsTheyStoodWhenTheDialogClosed) {
    HWND document = newDocument();
    setEditorText(document, "tape(.1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,1,R)");
    choose(CMD_RUN);
    win32test::advanceClock(3 * reportPeriod);
    win32test::answerNextFileDialogWith(path, [] { win32test::advanceClock(4 * reportPeriod); });
    choose(CMD_SAVE_OUTPUT);
    const std::vector<std::string> states = linesOf(dataOf(document).statesLog);
    const std::vector<std::string> tape = linesOf(dataOf(document).tapeLog);
    ASSERT_EQ(states.size(), 7u);
    std::string expected;
    for (std::size_t i = 0; i < states.size(); ++i) {
        expected += states[i] + "\t" + tape[i] + "\r\n";
    }
    EXPECT_EQ(bytesOf(path), expected);
}

TEST_F(SavingOutput, AFailureSaysSoAndLeavesTheEarlierFileAlone) {
    HWND document = newDocument();
    runToTheEnd(document, workedExample);
    writeReadOnlyFile(path, "earlier output");
    win32test::answerNextMessageBoxWith(IDOK);
    saveOutput(path);
    expectErrorBox("Unable to save output\n" + path + "\nFile is read-only");
    EXPECT_EQ(bytesOf(path), "earlier output");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"machine.txt"});
}

// Each example opens through the dialog and its machine takes a few steps.
TEST_F(DocumentFilesTest, EveryExampleOpensAndRuns) {
    int examples = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(EXAMPLES_DIR)) {
        SCOPED_TRACE(entry.path().string());
        HWND document = openFile(entry.path().string());
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(win32test::windowText(document), entry.path().filename().string());
        choose(CMD_RUN);
        win32test::advanceClock(3 * reportPeriod);
        EXPECT_EQ(linesOf(dataOf(document).statesLog).size(), 3u);
        EXPECT_TRUE(win32test::messageBoxesShown().empty());
        ++examples;
    }
    EXPECT_GE(examples, 8);
}

// Files named on the command line open as File > Open opens a chosen file,
// without its dialog; the Windows command line quotes paths with spaces.
using CommandLineFiles = DocumentFilesTest;

TEST_F(CommandLineFiles, EachFileOpensAsADocumentNamedAfterItWithItsFullPath) {
    openCommandLineFiles("");
    EXPECT_TRUE(documents().empty());

    fs::create_directory(folder + "my machines");
    const std::string spaced = folder + "my machines/worked example.txt";
    writeBytes(spaced, workedExample + '\0');
    writeBytes(path, "start(a)\nfinish(h)\n");
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    openCommandLineFiles(("\"" + spaced + "\" machine.txt").c_str());
    fs::current_path(before);

    ASSERT_EQ(documents().size(), 2u);
    const HWND first = documents()[0];
    EXPECT_EQ(win32test::windowText(first), "worked example.txt");
    EXPECT_EQ(editorText(first), workedExample);
    EXPECT_EQ(dataOf(first).hasFileName, 1);
    EXPECT_STREQ(dataOf(first).filePath, spaced.c_str());
    const HWND second = documents()[1];
    EXPECT_EQ(activeDocument(), second);
    EXPECT_EQ(win32test::windowText(second), "machine.txt");
    EXPECT_EQ(editorText(second), "start(a)\r\nfinish(h)\r\n");
    EXPECT_STREQ(dataOf(second).filePath, path.c_str());
    EXPECT_TRUE(win32test::fileDialogsShown().empty());
    EXPECT_TRUE(win32test::messageBoxesShown().empty());

    // Saved again, it goes back to the file it came from, without a dialog.
    SetWindowTextA(dataOf(second).editor, "tape(1)");
    choose(CMD_SAVE);
    EXPECT_EQ(bytesOf(path), std::string("tape(1)") + '\0');
    EXPECT_TRUE(win32test::fileDialogsShown().empty());
}

TEST_F(CommandLineFiles, OneThatCannotBeOpenedIsReportedAndTheOthersOpenAnyway) {
    writeBytes(path, "tape(1)");
    const std::string missing = folder + "missing.txt";
    const std::string overlong = folder + std::string(300, 'n');
    win32test::answerNextMessageBoxWith(IDOK);
    win32test::answerNextMessageBoxWith(IDOK);
    openCommandLineFiles((missing + " " + path + " " + overlong).c_str());

    ASSERT_EQ(win32test::messageBoxesShown().size(), 2u);
    EXPECT_EQ(win32test::messageBoxesShown()[0].text,
              "Unable to open\n" + missing + "\nThe system cannot find the file specified.");
    EXPECT_EQ(win32test::messageBoxesShown()[1].text,
              "Unable to open\n" + overlong + "\nFile name too long");
    ASSERT_EQ(documents().size(), 1u);
    EXPECT_EQ(win32test::windowText(documents()[0]), "machine.txt");
    EXPECT_TRUE(win32test::isShown(frame));
}

}  // namespace
