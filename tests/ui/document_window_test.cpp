#include "ui/document_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "workbench_fixture.h"

namespace {

const char* const banner = "ZARN Turing Machine 1.00";

class DocumentTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        document = newDocument();
        ASSERT_NE(document, nullptr);
        data = documentData(document);
        ASSERT_NE(data, nullptr);
    }

    std::vector<std::string> lines(HWND list) const {
        std::vector<std::string> texts;
        for (const win32test::ListItem& item : win32test::listItems(list)) {
            texts.push_back(item.text);
        }
        return texts;
    }

    // Which of the three logs are shown, in page order.
    std::vector<bool> shownLogs() const {
        return {win32test::isShown(data->parserLog), win32test::isShown(data->statesLog),
                win32test::isShown(data->tapeLog)};
    }

    HWND document = nullptr;
    DocumentData* data = nullptr;
};

std::vector<std::string> tabLabels(HWND tabControl) {
    std::vector<std::string> labels;
    const auto count = SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char label[32] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        item.cchTextMax = sizeof label;
        SendMessageA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        labels.emplace_back(label);
    }
    return labels;
}

TEST_F(DocumentTest, ShowsTheEditorAboveAndTheParserLogWithTheBannerBelow) {
    EXPECT_EQ(tabLabels(data->topTabs), std::vector<std::string>{"Editor"});
    EXPECT_EQ(tabLabels(data->bottomTabs), (std::vector<std::string>{"Parser", "States", "Tape"}));
    EXPECT_TRUE(win32test::isShown(data->editor));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(lines(data->parserLog), std::vector<std::string>{banner});
    EXPECT_TRUE(lines(data->statesLog).empty());
    EXPECT_TRUE(lines(data->tapeLog).empty());
    EXPECT_EQ(data->secondPage, nullptr);
    EXPECT_EQ(data->hasFileName, 0);
    EXPECT_STREQ(data->filePath, "");
    EXPECT_EQ(data->stepping, 0);
    EXPECT_NE(data->runner, nullptr);
}

TEST_F(DocumentTest, BuildsItsWindowTreeWithTheControlIds) {
    EXPECT_EQ(win32test::childWindows(document),
              (std::vector<HWND>{data->topTabs, data->bottomTabs}));
    EXPECT_EQ(win32test::childWindows(data->topTabs), std::vector<HWND>{data->editor});
    EXPECT_EQ(win32test::childWindows(data->bottomTabs), std::vector<HWND>{data->logHost});
    EXPECT_EQ(win32test::childWindows(data->logHost),
              (std::vector<HWND>{data->parserLog, data->statesLog, data->tapeLog}));
    EXPECT_EQ(GetDlgCtrlID(data->topTabs), 1000);
    EXPECT_EQ(GetDlgCtrlID(data->bottomTabs), 1001);
    EXPECT_EQ(win32test::className(data->editor), "EDIT");
    EXPECT_EQ(win32test::className(data->logHost), "LBOWNER");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(data->editor, GWL_STYLE)), 0x50B01004u);
    for (HWND list : {data->parserLog, data->statesLog, data->tapeLog}) {
        EXPECT_EQ(win32test::className(list), "LISTBOX");
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), fixedFont);
    }
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(data->editor, WM_GETFONT, 0, 0)), fixedFont);
}

TEST_F(DocumentTest, PickingATabShowsExactlyItsLog) {
    ASSERT_TRUE(win32test::clickTab(data->bottomTabs, 1));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{false, true, false}));
    ASSERT_TRUE(win32test::clickTab(data->bottomTabs, 2));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{false, false, true}));
    ASSERT_TRUE(win32test::clickTab(data->bottomTabs, 0));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(win32test::isShown(data->editor));
}

TEST_F(DocumentTest, OnlyASelectionChangeOfItsOwnTabsSwitchesPages) {
    SendMessageA(data->bottomTabs, TCM_SETCURSEL, 2, 0);
    NMHDR otherControl{data->bottomTabs, 1002, TCN_SELCHANGE};
    EXPECT_EQ(SendMessageA(document, WM_NOTIFY, 1002, reinterpret_cast<LPARAM>(&otherControl)), 0);
    NMHDR otherCode{data->bottomTabs, 1001, TCN_SELCHANGING};
    EXPECT_EQ(SendMessageA(document, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&otherCode)), 0);
    EXPECT_EQ(shownLogs(), (std::vector<bool>{true, false, false}));

    NMHDR change{data->bottomTabs, 1001, TCN_SELCHANGE};
    EXPECT_EQ(SendMessageA(document, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&change)), 0);
    EXPECT_EQ(shownLogs(), (std::vector<bool>{false, false, true}));
}

struct Size {
    int width;
    int height;
};

class DocumentLayoutTest : public DocumentTest, public ::testing::WithParamInterface<Size> {};

RECT displayArea(HWND tabControl) {
    RECT area = win32test::clientRect(tabControl);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

void expectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

// A window placed on an area that is empty or turned inside out gets no size, as on Win32.
void expectPlacedOn(HWND window, const RECT& area, const char* what) {
    expectRect(
        win32test::windowRect(window),
        {area.left, area.top, std::max(area.left, area.right), std::max(area.top, area.bottom)},
        what);
}

TEST_P(DocumentLayoutTest, LogsKeepTheLowestHundredPixelsAndTheEditorTheRest) {
    const Size size = GetParam();
    ASSERT_TRUE(win32test::resizeClient(document, size.width, size.height));
    const RECT client = win32test::clientRect(document);
    ASSERT_EQ(client.right, size.width);
    ASSERT_EQ(client.bottom, size.height);

    expectPlacedOn(data->topTabs, {0, 0, size.width, size.height - 100}, "upper tabs");
    expectPlacedOn(data->bottomTabs, {0, size.height - 100, size.width, size.height}, "lower tabs");
    expectPlacedOn(data->editor, displayArea(data->topTabs), "editor");
    expectPlacedOn(data->logHost, displayArea(data->bottomTabs), "host");
    const RECT host = win32test::clientRect(data->logHost);
    for (HWND list : {data->parserLog, data->statesLog, data->tapeLog}) {
        expectPlacedOn(list, host, "log list");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DocumentLayoutTest,
                         ::testing::Values(Size{500, 400}, Size{320, 160}, Size{200, 60},
                                           Size{0, 0}));

TEST_F(DocumentTest, EditorAtCreationHasTheSameAreaAsAfterAResize) {
    const RECT created = win32test::windowRect(data->editor);
    const RECT client = win32test::clientRect(document);
    SendMessageA(document, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    expectRect(win32test::windowRect(data->editor), created, "editor");
}

TEST_F(DocumentTest, AClickIntoAnotherDocumentsEditorActivatesItAndFocusesTheEditor) {
    HWND second = newDocument();
    ASSERT_EQ(activeDocument(), second);
    ASSERT_TRUE(choose(CMD_TILE_VERT));
    ASSERT_TRUE(win32test::clickAt(data->editor, 10, 10));
    EXPECT_EQ(activeDocument(), document);
    EXPECT_EQ(GetFocus(), data->editor);
}

using EditCommandTest = DocumentTest;

TEST_F(EditCommandTest, TheEditMenuActsOnTheActiveDocumentsEditor) {
    ASSERT_TRUE(win32test::typeText(data->editor, "tape(01)"));
    EXPECT_EQ(win32test::windowText(data->editor), "tape(01)");

    SendMessageA(data->editor, EM_SETSEL, 5, 7);
    ASSERT_TRUE(choose(CMD_COPY));
    EXPECT_EQ(win32test::clipboardText(), "01");
    ASSERT_TRUE(choose(CMD_CUT));
    EXPECT_EQ(win32test::windowText(data->editor), "tape()");
    ASSERT_TRUE(choose(CMD_UNDO));
    EXPECT_EQ(win32test::windowText(data->editor), "tape(01)");

    SendMessageA(data->editor, EM_SETSEL, 0, 4);
    ASSERT_TRUE(choose(CMD_DELETE));
    EXPECT_EQ(win32test::windowText(data->editor), "(01)");
    ASSERT_TRUE(choose(CMD_PASTE));
    EXPECT_EQ(win32test::windowText(data->editor), "01(01)");
}

TEST_F(EditCommandTest, AnswersZeroWhateverTheEditorAnswers) {
    ASSERT_EQ(SendMessageA(data->editor, EM_UNDO, 0, 0), 1);
    EXPECT_EQ(SendMessageA(document, EM_UNDO, 0, 0), 0);
}

TEST_F(DocumentTest, EditorTextRoundTripsWithItsLineBreaksAndEightBitBytes) {
    std::string eightBit;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            eightBit += static_cast<char>(byte);
        }
    }
    const struct {
        std::string set;
        std::string readBack;
    } texts[] = {
        {"tape(1)\r\nstart(a)\r\n", "tape(1)\r\nstart(a)\r\n"},
        {"tape(1)\nstart(a)", "tape(1)\r\nstart(a)"},
        {eightBit, eightBit},
    };
    for (const auto& text : texts) {
        SetWindowTextA(data->editor, text.set.c_str());
        EXPECT_EQ(SendMessageA(data->editor, WM_GETTEXTLENGTH, 0, 0),
                  static_cast<LRESULT>(text.readBack.size()));
        EXPECT_EQ(win32test::windowText(data->editor), text.readBack);
    }
}

TEST_F(DocumentTest, EditorTakesAHundredThousandLines) {
    std::string text;
    for (int line = 0; line < 100000; ++line) {
        text += "(q" + std::to_string(line) + ",1,q0,0,R)\r\n";
    }
    SetWindowTextA(data->editor, text.c_str());
    ASSERT_EQ(SendMessageA(data->editor, WM_GETTEXTLENGTH, 0, 0),
              static_cast<LRESULT>(text.size()));
    std::string readBack(text.size() + 1, '\0');
    EXPECT_EQ(GetWindowTextA(data->editor, readBack.data(), static_cast<int>(readBack.size())),
              static_cast<int>(text.size()));
    readBack.pop_back();
    EXPECT_EQ(readBack, text);
}

TEST_F(DocumentTest, TenDocumentsEachHaveTheirOwnMachineAndLogs) {
    std::vector<HWND> all{document};
    for (int i = 1; i < 10; ++i) {
        all.push_back(newDocument());
    }
    ASSERT_EQ(documents().size(), 10u);
    std::vector<HWND> lists;
    std::vector<const MachineRunner*> runners;
    for (HWND each : all) {
        const DocumentData* record = documentData(each);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(lines(record->parserLog), std::vector<std::string>{banner});
        lists.push_back(record->parserLog);
        runners.push_back(record->runner);
    }
    std::sort(lists.begin(), lists.end());
    std::sort(runners.begin(), runners.end());
    EXPECT_EQ(std::unique(lists.begin(), lists.end()), lists.end());
    EXPECT_EQ(std::unique(runners.begin(), runners.end()), runners.end());
}

using ClosingTest = DocumentTest;

TEST_F(ClosingTest, CloseBoxFileCloseAndExitEachTakeTheDocumentsAway) {
    HWND second = newDocument();
    ASSERT_TRUE(win32test::clickCloseBox(second));
    EXPECT_FALSE(IsWindow(second));
    ASSERT_TRUE(choose(CMD_CLOSE));
    EXPECT_FALSE(IsWindow(document));
    EXPECT_TRUE(documents().empty());

    newDocument();
    newDocument();
    ASSERT_TRUE(choose(CMD_EXIT));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(win32test::messageBoxesShown().empty());
    // Ticks after the end reach no document.
    win32test::advanceClock(1000);
}

TEST_F(ClosingTest, NoMessageAfterDestructionReadsTheRecord) {
    HWND editor = data->editor;
    DestroyWindow(document);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(GetWindowLongPtrA(document, GWLP_USERDATA), 0);
    EXPECT_EQ(SendMessageA(document, WM_TIMER, 1000, 0), 0);
}

}  // namespace
