#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <win32_test.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ui/document_window.h"
#include "workbench_fixture.h"

namespace {

namespace fs = std::filesystem;

// Documents, their files and the error boxes about them. The only files in
// the test's folder are those the test expects.
class DocumentFilesTest : public WorkbenchFolderTest {
protected:
    static std::string editorText(HWND document) {
        return win32test::windowText(dataOf(document).editor);
    }
    static void setEditorText(HWND document, const std::string& text) {
        SetWindowTextA(dataOf(document).editor, text.c_str());
    }
    static LRESULT load(HWND document, const std::string& path) {
        return SendMessageA(document, TMM_LOAD, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    static void writeReadOnlyFile(const std::string& path, const std::string& bytes) {
        writeBytes(path, bytes);
        fs::permissions(path, fs::perms::owner_read);
    }
    // Answers the file dialog of `command` with `path`; returns the active document.
    HWND chooseFile(UINT command, const std::string& path) {
        win32test::answerNextFileDialogWith(path);
        choose(command);
        return activeDocument();
    }

    // Root may write anywhere it is denied by mode bits; /sys refuses new files to root too.
    std::string folderWithoutWriteAccess() const {
        const std::string locked = folder + "locked";
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
        return access(locked.c_str(), W_OK) == 0 ? "/sys" : locked;
    }

    std::string path = folder + "machine.txt";
};

using Saving = DocumentFilesTest;

// A new document asks for a name at each Save until it is saved: a cancelled
// or failed Save As leaves it untitled.
TEST_F(Saving, ANewDocumentAsksForANameUntilItIsSaved) {
    HWND document = newDocument();
    setEditorText(document, "start(a)");
    win32test::cancelNextFileDialog();
    choose(CMD_SAVE);
    writeReadOnlyFile(path, "read-only");
    win32test::answerNextMessageBoxWith(IDOK);
    chooseFile(CMD_SAVE_AS, path);
    expectErrorBox("Unable to save\n" + path + "\nFile is read-only");
    EXPECT_EQ(bytesOf(path), "read-only");
    EXPECT_EQ(win32test::windowText(document), "Untitled");

    win32test::answerNextFileDialogWith(folder + "busy");
    choose(CMD_SAVE);
    ASSERT_EQ(win32test::fileDialogsShown().size(), 3u);
    EXPECT_TRUE(win32test::fileDialogsShown()[2].save);
    EXPECT_EQ(win32test::fileDialogsShown()[2].initialFile, "");
    EXPECT_EQ(win32test::fileDialogsShown()[2].owner, document);
    EXPECT_EQ(win32test::windowText(document), "busy.txt");
    EXPECT_EQ(bytesOf(folder + "busy.txt"), std::string("start(a)") + '\0');
}

// The old file is never written in place: when every name of a new file is
// taken by files a crash left, or none fits the path limit, the save fails.
TEST_F(Saving, WithoutANewFileBesideItTheOldFileIsKept) {
    for (int number = 0; number < 1000; ++number) {
        writeBytes(folder + "~" + std::to_string(number) + ".tmp", "leftover");
    }
    const std::string deep = folder + std::string(MAX_PATH - 6 - folder.size(), 'd');
    fs::create_directory(deep);
    newDocument();
    for (const std::string& target : {path, deep + "/a.txt"}) {
        writeBytes(target, "old");
        win32test::answerNextMessageBoxWith(IDOK);
        chooseFile(CMD_SAVE_AS, target);
        EXPECT_EQ(win32test::messageBoxesShown().back().text,
                  "Unable to save\n" + target + "\nNo temporary file can be made in its folder");
        EXPECT_EQ(bytesOf(target), "old");
    }
}

// Names and text in any script, and bytes that are not UTF-8, are saved,
// opened and named on the command line as the bytes they are; a link is kept.
TEST_F(Saving, AnyNameAndAnyTextAsTheirBytesAndThroughLinks) {
    const std::string text = "# from \xE6\x97\xA5\xE6\x9C\xAC \xE9\xFF\r\ntape(.1)";
    fs::create_directory(folder + "caf\xC3\xA9 dir");
    fs::create_symlink("\xE6\x97\xA5\xE6\x9C\xAC.txt", folder + "link.txt");
    fs::create_symlink("not yet.txt", folder + "dangling.txt");
    const std::string names[] = {"\xD0\xBC\xD0\xB0\xD1\x88\xD0\xB8\xD0\xBD\xD0\xB0.txt",
                                 "\xE6\x97\xA5\xE6\x9C\xAC.txt",
                                 "\xE4\xB8\xAD\xE5\x9B\xBD.txt",
                                 "caf\xC3\xA9 dir/\xC3\xA9.txt",
                                 "Latin-1 \xE9t\xE9.txt",
                                 "link.txt",
                                 "dangling.txt"};
    for (const std::string& name : names) {
        HWND document = newDocument();
        setEditorText(document, text + name);
        chooseFile(CMD_SAVE_AS, folder + name);
        EXPECT_EQ(bytesOf(folder + name), text + name + '\0') << name;
        EXPECT_EQ(editorText(chooseFile(CMD_OPEN, folder + name)), text + name);
        openCommandLineFiles(("\"" + folder + name + "\"").c_str());
        EXPECT_EQ(editorText(activeDocument()), text + name);
    }
    EXPECT_TRUE(fs::is_symlink(folder + "link.txt") && fs::is_symlink(folder + "dangling.txt"));
    EXPECT_EQ(bytesOf(folder + "not yet.txt"), bytesOf(folder + "dangling.txt"));
}

// A named document's Save replaces its file at once with the text and one
// NUL, keeping the file's permissions; the file opens back to the same text.
TEST_F(Saving, ANamedDocumentReplacesItsFileAndOpensBackTheSameText) {
    HWND document = newDocument();
    chooseFile(CMD_SAVE_AS, path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    const std::string text = "tape(.1\xE9\xFF)\r\nstart(\x80q)\r\n\r\n";
    setEditorText(document, text);
    choose(CMD_SAVE);
    EXPECT_EQ(win32test::fileDialogsShown().size(), 1u);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(filesIn(folder), (Files{{"machine.txt", text + '\0'}}));

    chooseFile(CMD_SAVE_AS, folder + "copy");
    EXPECT_EQ(win32test::fileDialogsShown()[1].initialFile, path);
    EXPECT_STREQ(dataOf(document).filePath, (folder + "copy.txt").c_str());
    EXPECT_EQ(win32test::windowText(document), "copy.txt");

    HWND opened = chooseFile(CMD_OPEN, folder + "machine");
    ASSERT_NE(opened, document);
    EXPECT_EQ(editorText(opened), text);
    EXPECT_EQ(win32test::windowText(opened), "machine.txt");
    EXPECT_EQ(dataOf(opened).hasFileName, 1);
}

using Loading = DocumentFilesTest;

// Cancel, or a file that cannot be opened, closes the new document; the other
// files named on the command line open anyway.
TEST_F(Loading, CancelOrAFailedLoadClosesTheNewDocument) {
    win32test::cancelNextFileDialog();
    choose(CMD_OPEN);
    EXPECT_TRUE(documents().empty());

    writeBytes(path, "held");
    const std::string other = folder + "other.txt";
    writeBytes(other, "tape(1)");
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    win32test::answerNextMessageBoxWith(IDOK);
    openCommandLineFiles((path + " " + other).c_str());
    CloseHandle(holder);
    expectErrorBox("Unable to open\n" + path +
                   "\nThe process cannot access the file because it is being used by another "
                   "process.");
    ASSERT_EQ(documents().size(), 1u);
    EXPECT_EQ(win32test::windowText(documents()[0]), "other.txt");
}

// The text is what comes before the first NUL, with every line break shown as
// one; CR CR LF, the editor's own mark of a wrapped line, is handed to it as
// it stands. A file that fails leaves the editor and the name alone: a file
// over 4 GB is refused as too large, not read in part, and a pipe, a device or
// a socket at once, without waiting on it.
TEST_F(Loading, TakesTheBytesBeforeTheFirstNulAndNothingOfAFileThatFails) {
    HWND document = newDocument();
    interception::install(dataOf(document).editor, WM_SETTEXT, 1, FALSE);
    writeBytes(path,
               std::string("start(a)\nfinish(h)\r\ntape(.1)\r\r\n(a\r") + '\0' + "(a,1,h,1,N)");
    ASSERT_TRUE(load(document, path));
    EXPECT_EQ(interception::textsSet,
              std::vector<std::string>{"start(a)\r\nfinish(h)\r\ntape(.1)\r\r\n(a\r\n"});
    const std::string kept = editorText(document);
    const std::string huge = folder + "huge.txt";
    writeBytes(huge, "");
    fs::resize_file(huge, 0x100000001ull);
    const std::string pipePath = folder + "pipe.txt";
    mkfifo(pipePath.c_str(), 0600);
    const std::string socketPath = folder + "socket";
    mknod(socketPath.c_str(), S_IFSOCK | 0600, 0);
    const std::string notAFile = "It is a pipe, a device or a socket, not a file";
    const std::pair<std::string, std::string> failures[] = {
        {path, "The editor cannot hold this text"},
        {folder + "missing.txt", "The system cannot find the file specified."},
        {folder + std::string(300, 'n'), "File name too long"},
        {huge, "File too large"},
        {pipePath, notAFile},
        {"/dev/null", notAFile},
        {socketPath, notAFile}};
    for (const auto& [failing, reason] : failures) {
        win32test::answerNextMessageBoxWith(IDOK);
        EXPECT_FALSE(load(document, failing));
        EXPECT_EQ(win32test::messageBoxesShown().back().text,
                  "Unable to open\n" + failing + "\n" + reason);
        EXPECT_EQ(editorText(document), kept);
        EXPECT_STREQ(dataOf(document).filePath, path.c_str());
    }
}

// Every failure to save keeps the earlier file byte for byte, leaves nothing
// new beside it, and keeps the document's name: a full disk and a folder
// without write access. The new file of a save has a short name beside the
// document, so that a file whose name is at the limit of a name here is saved
// the same way.
TEST_F(DocumentFilesTest, AFailedSaveChangesNothing) {
    const std::string name = std::string(251, 'm') + ".txt";
    const std::string longPath = folder + name;
    HWND document = newDocument();
    setEditorText(document, "earlier");
    dataOf(document).hasFileName = 1;
    EXPECT_TRUE(SendMessageA(document, TMM_SAVE, 0, reinterpret_cast<LPARAM>(longPath.c_str())));
    setEditorText(document, std::string(100000, 'x'));
    // A limit on file size fails every write past 4 KiB as a full disk would.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit full{4096, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    win32test::answerNextMessageBoxWith(IDOK);
    choose(CMD_SAVE);
    setrlimit(RLIMIT_FSIZE, &before);
    const std::string denied = folderWithoutWriteAccess() + "/machine.txt";
    win32test::answerNextMessageBoxWith(IDOK);
    chooseFile(CMD_SAVE_AS, denied);
    EXPECT_FALSE(fs::exists(denied));
    fs::remove(folder + "locked");

    ASSERT_EQ(win32test::messageBoxesShown().size(), 2u);
    EXPECT_EQ(win32test::messageBoxesShown()[0].text,
              "Unable to save\n" + longPath + "\nThere is not enough space on the disk.");
    EXPECT_EQ(win32test::messageBoxesShown()[1].text,
              "Unable to save\n" + denied + "\nAccess is denied.");
    EXPECT_EQ(filesIn(folder), (Files{{name, std::string("earlier") + '\0'}}));
    EXPECT_STREQ(dataOf(document).filePath, longPath.c_str());
    EXPECT_EQ(win32test::windowText(document), "Untitled");
}

using SavingOutput = DocumentFilesTest;

TEST_F(SavingOutput, BeforeAnyRunWritesAnEmptyFileAndAFailureSaysSo) {
    newDocument();
    chooseFile(CMD_SAVE_OUTPUT, folder + "first");
    EXPECT_EQ(win32test::fileDialogsShown()[0].initialFile, "output.txt");
    EXPECT_EQ(bytesOf(folder + "first.txt"), "");

    writeReadOnlyFile(path, "earlier output");
    win32test::answerNextMessageBoxWith(IDOK);
    chooseFile(CMD_SAVE_OUTPUT, path);
    expectErrorBox("Unable to save output\n" + path + "\nFile is read-only");
    EXPECT_EQ(bytesOf(path), "earlier output");
}

// Lines are written whole, whatever their length.
TEST_F(SavingOutput, WhileAMachineRunsTheFileHoldsTheLogsAsTheyStoodWhenTheDialogClosed) {
    HWND document = newDocument();
    const std::string state(95, 'q');
    setEditorText(document, "tape(.1)\r\nstart(" + state + ")\r\nfinish(h)\r\n(" + state + ",1," +
                                state + ",1,R)\r\n(" + state + ",^," + state + ",1,R)");
    choose(CMD_RUN);
    win32test::advanceClock(3 * reportPeriod);
    win32test::answerNextFileDialogWith(path, [] { win32test::advanceClock(4 * reportPeriod); });
    choose(CMD_SAVE_OUTPUT);
    const std::vector<std::string> states = lines(dataOf(document).statesLog);
    const std::vector<std::string> tape = lines(dataOf(document).tapeLog);
    ASSERT_EQ(states.size(), 7u);
    std::string expected;
    for (std::size_t i = 0; i < states.size(); ++i) {
        expected += states[i] + "\t" + tape[i] + "\r\n";
    }
    EXPECT_EQ(bytesOf(path), expected);
}

}  // namespace
