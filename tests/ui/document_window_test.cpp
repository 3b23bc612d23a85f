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

class DocumentTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        document = newDocument();
        data = documentData(document);
        ASSERT_NE(data, nullptr);
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
    for (int i = 0; i < SendMessageA(tabControl, TCM_GETITEMCOUNT, 0, 0); ++i) {
        char label[32] = {};
        TCITEMA item{TCIF_TEXT, 0, 0, label, sizeof label, 0, 0};
        SendMessageA(tabControl, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        labels.emplace_back(label);
    }
    return labels;
}

TEST_F(DocumentTest, ShowsTheEditorAboveAndTheParserLogWithTheBannerBelow) {
    EXPECT_EQ(tabLabels(data->topTabs), std::vector<std::string>{"Editor"});
    EXPECT_EQ(tabLabels(data->bottomTabs), (std::vector<std::string>{"Parser", "States", "Tape"}));
    EXPECT_EQ(win32test::childWindows(data->logHost),
              (std::vector<HWND>{data->parserLog, data->statesLog, data->tapeLog}));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(lines(data->parserLog), std::vector<std::string>{"ZARN Turing Machine 1.00"});
    // The head's box is placed by character column: every text is fixed pitch.
    for (HWND window : {data->editor, data->parserLog, data->statesLog, data->tapeLog}) {
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), fixedFont);
    }
}

TEST_F(DocumentTest, OnlyASelectionChangeOfItsOwnTabsSwitchesPages) {
    for (int page : {1, 2, 0}) {
        ASSERT_TRUE(win32test::clickTab(data->bottomTabs, page));
        EXPECT_EQ(shownLogs(), (std::vector<bool>{page == 0, page == 1, page == 2}));
        EXPECT_TRUE(win32test::isShown(data->editor));
    }
    SendMessageA(data->bottomTabs, TCM_SETCURSEL, 2, 0);
    const int bottomId = GetDlgCtrlID(data->bottomTabs);
    NMHDR otherControl{data->bottomTabs, static_cast<UINT_PTR>(bottomId + 1), TCN_SELCHANGE};
    SendMessageA(document, WM_NOTIFY, bottomId + 1, reinterpret_cast<LPARAM>(&otherControl));
    NMHDR otherCode{data->bottomTabs, static_cast<UINT_PTR>(bottomId), TCN_SELCHANGING};
    SendMessageA(document, WM_NOTIFY, bottomId, reinterpret_cast<LPARAM>(&otherCode));
    EXPECT_EQ(shownLogs(), (std::vector<bool>{true, false, false}));
}

RECT displayArea(HWND tabControl) {
    RECT area = win32test::clientRect(tabControl);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

// A window placed on an area that is empty or turned inside out gets no size, as on Win32.
void expectPlacedOn(HWND window, const RECT& area, const char* what) {
    const RECT placed = win32test::windowRect(window);
    EXPECT_EQ((std::vector<LONG>{placed.left, placed.top, placed.right, placed.bottom}),
              (std::vector<LONG>{area.left, area.top, std::max(area.left, area.right),
                                 std::max(area.top, area.bottom)}))
        << what;
}

TEST_F(DocumentTest, LogsKeepTheLowestHundredPixelsAndTheEditorTheRest) {
    const RECT created = win32test::windowRect(data->editor);
    const RECT client = win32test::clientRect(document);
    SendMessageA(document, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    expectPlacedOn(data->editor, created, "editor at creation and after a resize");

    for (const auto& [width, height] : {std::pair{500, 400}, {320, 160}, {200, 60}, {0, 0}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        ASSERT_TRUE(win32test::resizeClient(document, width, height));
        expectPlacedOn(data->topTabs, {0, 0, width, height - 100}, "upper tabs");
        expectPlacedOn(data->bottomTabs, {0, height - 100, width, height}, "lower tabs");
        expectPlacedOn(data->editor, displayArea(data->topTabs), "editor");
        expectPlacedOn(data->logHost, displayArea(data->bottomTabs), "host");
        const RECT host = win32test::clientRect(data->logHost);
        for (HWND list : {data->parserLog, data->statesLog, data->tapeLog}) {
            expectPlacedOn(list, host, "log list");
        }
    }
}

// The Edit menu acts on the active document's editor.
TEST_F(DocumentTest, TheEditMenuActsOnTheActiveDocumentsEditor) {
    ASSERT_TRUE(win32test::typeText(data->editor, "tape(01)"));
    SendMessageA(data->editor, EM_SETSEL, 5, 7);
    ASSERT_TRUE(choose(CMD_COPY));
    SendMessageA(data->editor, EM_SETSEL, 0, 4);
    ASSERT_TRUE(choose(CMD_DELETE));
    ASSERT_TRUE(choose(CMD_PASTE));
    EXPECT_EQ(win32test::windowText(data->editor), "01(01)");
    SendMessageA(data->editor, EM_SETSEL, 0, 2);
    ASSERT_TRUE(choose(CMD_CUT));
    EXPECT_EQ(win32test::windowText(data->editor), "(01)");
    ASSERT_TRUE(choose(CMD_UNDO));
    EXPECT_EQ(win32test::windowText(data->editor), "01(01)");
}

}  // namespace
