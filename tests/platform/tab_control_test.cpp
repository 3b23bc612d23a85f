#include <commctrl.h>

#include "platform_test.h"

namespace {

constexpr int kTabsId = 1001;

class TabControl : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
        parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400);
        tabs =
            CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                            400, 300, parent, reinterpret_cast<HMENU>(kTabsId), nullptr, nullptr);
        ASSERT_NE(tabs, nullptr);
        handler = [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            if (message != WM_NOTIFY)
                return false;
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            EXPECT_EQ(header->hwndFrom, tabs);
            EXPECT_EQ(header->idFrom, static_cast<UINT_PTR>(kTabsId));
            codes.push_back(header->code);
            result = header->code == TCN_SELCHANGING ? vetoChange : FALSE;
            return true;
        };
    }
    int insert(const char* label, int index) {
        char text[32];
        lstrcpynA(text, label, sizeof text);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = text;
        item.iImage = -1;
        return static_cast<int>(
            SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
    }
    RECT adjusted(BOOL toWindow, RECT rect) {
        SendMessageA(tabs, TCM_ADJUSTRECT, toWindow, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    std::vector<UINT> notifications() const { return codes; }
    std::vector<UINT> codes;
    BOOL vetoChange = FALSE;
    HWND parent = nullptr;
    HWND tabs = nullptr;
};

TEST_F(TabControl, TabsKeepTheirLabelsAndTheFirstIsSelected) {
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
    EXPECT_EQ(insert("Parser", 0), 0);
    EXPECT_EQ(insert("States", 1), 1);
    EXPECT_EQ(insert("Tape", 7), 2);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    char text[16] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, "Tape");
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(tabs, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_TRUE(notifications().empty());
}

TEST_F(TabControl, ALabelCanBeChangedAndATabDeletedKeepingTheSelectedOne) {
    insert("Parser", 0);
    insert("States", 1);
    insert("Tape", 2);
    char renamed[] = "Steps";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = renamed;
    EXPECT_TRUE(SendMessageA(tabs, TCM_SETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessageA(tabs, TCM_SETITEMA, 3, reinterpret_cast<LPARAM>(&item)));
    SendMessageA(tabs, TCM_SETCURSEL, 2, 0);
    EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 0, 0));
    EXPECT_FALSE(SendMessageA(tabs, TCM_DELETEITEM, 2, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    char text[16] = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, "Steps");
    EXPECT_TRUE(SendMessageA(tabs, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
    EXPECT_TRUE(notifications().empty());
}

TEST_F(TabControl, AClickAsksTheParentThenTellsIt) {
    insert("Parser", 0);
    insert("States", 1);
    ASSERT_TRUE(win32test::clickTab(tabs, 1));
    EXPECT_EQ(notifications(), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    codes.clear();
    win32test::clickTab(tabs, 1);
    EXPECT_TRUE(notifications().empty());
}

TEST_F(TabControl, AParentAnsweringTrueKeepsTheSelection) {
    insert("Parser", 0);
    insert("States", 1);
    vetoChange = TRUE;
    win32test::clickTab(tabs, 1);
    EXPECT_EQ(notifications(), (std::vector<UINT>{TCN_SELCHANGING}));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
}

}  // namespace
