// When the system says no: a log list that is full, an editor that will not
// take a text, the names a save would use already taken or at their limit.
#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ui/document_data.h"
#include "workbench_fixture.h"

namespace {

namespace fs = std::filesystem;

// Stands between a control and its own window procedure.
class Interception {
public:
    static inline WNDPROC original = nullptr;
    static inline std::vector<std::string> textsSet;
    static inline int linesAccepted = 0;
    static inline int negativeMarks = 0;

    static void install(HWND control, WNDPROC procedure) {
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
        textsSet.clear();
        negativeMarks = 0;
    }

    // A list box that takes `linesAccepted` lines and refuses the rest.
    static LRESULT CALLBACK fullList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == LB_INSERTSTRING && SendMessageA(list, LB_GETCOUNT, 0, 0) >= linesAccepted) {
            return LB_ERRSPACE;
        }
        if (message == LB_SETITEMDATA && static_cast<int>(wParam) < 0) {
            ++negativeMarks;
        }
        return CallWindowProcA(original, list, message, wParam, lParam);
    }

    static LRESULT CALLBACK refusingEditor(HWND editor, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
        if (message == WM_SETTEXT) {
            return FALSE;
        }
        return CallWindowProcA(original, editor, message, wParam, lParam);
    }

    static LRESULT CALLBACK recordingEditor(HWND editor, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        if (message == WM_SETTEXT) {
            textsSet.emplace_back(reinterpret_cast<const char*>(lParam));
        }
        return CallWindowProcA(original, editor, message, wParam, lParam);
    }
};

class RefusalTest : public WorkbenchFolderTest {
protected:
    void SetUp() override {
        WorkbenchFolderTest::SetUp();
        document = newDocument();
        data = documentData(document);
    }

    HWND document = nullptr;
    DocumentData* data = nullptr;
};

// Win32 would take a marker for line -1 as one for every line.
TEST_F(RefusalTest, ARunWhoseTapeLogIsFullStopsAndSaysSo) {
    Interception::linesAccepted = 3;
    Interception::install(data->tapeLog, Interception::fullList);
    SetWindowTextA(data->editor, "tape(1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,^,R)");
    SendMessageA(document, CMD_RUN, 0, 0);
    win32test::advanceClock(4 * reportPeriod);
    EXPECT_EQ(data->stepping, 0);
    EXPECT_EQ(win32test::listItems(data->parserLog).back().text,
              "Run stopped: the Tape log is full.");
    EXPECT_EQ(Interception::negativeMarks, 0);
    const std::vector<win32test::ListItem> tape = win32test::listItems(data->tapeLog);
    ASSERT_EQ(tape.size(), 3u);
    EXPECT_EQ(tape[2].data, 4);

    win32test::advanceClock(4 * reportPeriod);
    EXPECT_EQ(win32test::listItems(data->statesLog).size(), 4u);
}

TEST_F(RefusalTest, AnEditorThatRefusesTheTextSaysSoAndLeavesNoDocument) {
    const std::string path = folder + "machine.txt";
    writeBytes(path, "tape(1)");
    win32test::answerNextMessageBoxWith(IDOK);
    win32test::answerNextFileDialogWith(path);
    SendMessageA(frame, WM_COMMAND, CMD_NEW, 0);
    HWND opened = activeDocument();
    Interception::install(documentData(opened)->editor, Interception::refusingEditor);
    SendMessageA(opened, TMM_OPEN, 0, 0);
    ASSERT_EQ(win32test::messageBoxesShown().size(), 1u);
    EXPECT_EQ(win32test::messageBoxesShown()[0].text,
              "Unable to open\n" + path + "\nThe editor cannot hold this text");
    EXPECT_EQ(documents(), std::vector<HWND>{document});
}

// CR CR LF is the editor's own mark of a wrapped line: one line, not two.
TEST_F(RefusalTest, LoadingHandsTheEditorCrCrLfAsItStandsAndEveryOtherBreakAsCrLf) {
    const std::string path = folder + "machine.txt";
    writeBytes(path, "a\r\r\nb\r\nc\nd\re\r\r\r\n");
    Interception::install(data->editor, Interception::recordingEditor);
    SendMessageA(document, TMM_LOAD, 0, reinterpret_cast<LPARAM>(path.c_str()));
    EXPECT_EQ(Interception::textsSet,
              std::vector<std::string>{"a\r\r\nb\r\nc\r\nd\r\ne\r\n\r\r\n"});
}

// The new file of a save has a short name beside the document: a path of 255
// characters, its name at the limit of a name here, is still saved whole or
// not at all.
TEST_F(RefusalTest, APathAtTheLimitIsStillSavedWholeOrNotAtAll) {
    const std::string path = "/tmp/" + std::string(246, 'm') + ".txt";
    SetWindowTextA(data->editor, "earlier");
    data->hasFileName = 1;
    EXPECT_TRUE(SendMessageA(document, TMM_SAVE, 0, reinterpret_cast<LPARAM>(path.c_str())));
    SetWindowTextA(data->editor, std::string(100000, 'x').c_str());
    win32test::answerNextMessageBoxWith(IDOK);
    {
        const FullDisk full;
        EXPECT_FALSE(SendMessageA(document, TMM_SAVE, 0, 0));
    }
    EXPECT_EQ(bytesOf(path), std::string("earlier") + '\0');
    fs::remove(path);
}

// Files that crashes left behind under every name a save could give its new
// file: the save goes ahead and leaves them alone.
TEST_F(RefusalTest, LeftoversUnderEveryNameOfTheNewFileNeitherBlockASaveNorAreTouched) {
    for (int number = 0; number < 1000; ++number) {
        writeBytes(folder + "~" + std::to_string(number) + ".tmp", "leftover");
    }
    const std::string path = folder + "machine.txt";
    SetWindowTextA(data->editor, "tape(1)");
    data->hasFileName = 1;
    EXPECT_TRUE(SendMessageA(document, TMM_SAVE, 0, reinterpret_cast<LPARAM>(path.c_str())));
    EXPECT_EQ(bytesOf(path), std::string("tape(1)") + '\0');
    const Files files = filesIn(folder);
    EXPECT_EQ(files.size(), 1001u);
    EXPECT_EQ(files.at("~999.tmp"), "leftover");
}

}  // namespace
