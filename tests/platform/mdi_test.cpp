#include <algorithm>
#include <string>

#include "platform_test.h"

namespace {

constexpr UINT kFirstChildId = 100;
constexpr int kWindowMenuIndex = 1;

HWND mdiClient = nullptr;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        CLIENTCREATESTRUCT settings{GetSubMenu(GetMenu(window), kWindowMenuIndex), kFirstChildId};
        mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0,
                                    0, 0, 0, window, reinterpret_cast<HMENU>(3244), nullptr, &settings);
        ShowWindow(mdiClient, SW_SHOW);
        return 0;
    }
    return DefFrameProcA(window, mdiClient, message, wParam, lParam);
}

LRESULT CALLBACK documentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformTest::received.push_back({window, message, wParam, lParam});
    return DefMDIChildProcA(window, message, wParam, lParam);
}

class Mdi : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = frameProc;
        frameClass.lpszClassName = "FRAME";
        ASSERT_NE(RegisterClassA(&frameClass), 0);
        WNDCLASSA documentClass{};
        documentClass.lpfnWndProc = documentProc;
        documentClass.lpszClassName = "DOCUMENT";
        ASSERT_NE(RegisterClassA(&documentClass), 0);
        HMENU menu = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 1, "&New");
        HMENU windows = CreatePopupMenu();
        AppendMenuA(windows, MF_STRING, 2, "&Cascade");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), "&Window");
        frame = CreateWindowExA(WS_EX_APPWINDOW, "FRAME", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, nullptr, nullptr);
        ASSERT_NE(frame, nullptr);
        win32test::resizeClient(frame, 780, 540);
        received.clear();
    }
    void TearDown() override {
        PlatformTest::TearDown();
        mdiClient = nullptr;
    }
    HWND newDocument(const char* title) {
        return CreateWindowExA(WS_EX_MDICHILD, "DOCUMENT", title, WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr, nullptr, nullptr);
    }
    HWND active() const { return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0)); }
    std::vector<win32test::MenuItem> windowMenu() const {
        return win32test::menuItems(GetSubMenu(GetMenu(frame), kWindowMenuIndex));
    }
    HWND frame = nullptr;
};

TEST_F(Mdi, TheClientFillsTheFrameAndStartsEmpty) {
    EXPECT_EQ(win32test::windowRect(mdiClient), (RECT{0, 0, 780, 540}));
    EXPECT_EQ(active(), nullptr);
    EXPECT_TRUE(win32test::isShown(mdiClient));
    win32test::resizeClient(frame, 600, 400);
    EXPECT_EQ(win32test::clientRect(mdiClient), (RECT{0, 0, 600, 400}));
}

TEST_F(Mdi, ADocumentIsCreatedSizedShownAndActivatedInThisOrder) {
    HWND document = newDocument("One");
    ASSERT_NE(document, nullptr);
    const std::vector<UINT> expected{WM_NCCREATE,          WM_CREATE,        WM_SIZE,     WM_MOVE,        WM_SHOWWINDOW,
                                     WM_WINDOWPOSCHANGED, WM_CHILDACTIVATE, WM_SETFOCUS, WM_MDIACTIVATE};
    EXPECT_EQ(messagesOf(document), expected);
    EXPECT_EQ(active(), document);
    EXPECT_TRUE(win32test::isShown(document));
}

TEST_F(Mdi, TheNewestDocumentIsActiveAndClosingItActivatesThePrevious) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    EXPECT_EQ(active(), second);
    SendMessageA(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(active(), first);
    SendMessageA(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
    EXPECT_EQ(active(), nullptr);
}

TEST_F(Mdi, TilingHorizontallyStacksAndVerticallyPlacesSideBySide) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    EXPECT_EQ(win32test::windowRect(second), (RECT{0, 0, 780, 270}));
    EXPECT_EQ(win32test::windowRect(first), (RECT{0, 270, 780, 540}));
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_EQ(win32test::windowRect(second), (RECT{0, 0, 390, 540}));
    EXPECT_EQ(win32test::windowRect(first), (RECT{390, 0, 780, 540}));
}

TEST_F(Mdi, CascadingStaggersTheDocumentsWithTheActiveOneInFront) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    SendMessageA(mdiClient, WM_MDICASCADE, 0, 0);
    const RECT back = win32test::windowRect(first);
    const RECT front = win32test::windowRect(second);
    EXPECT_EQ(back.left, 0);
    EXPECT_GT(front.left, back.left);
    EXPECT_EQ(front.right - front.left, back.right - back.left);
    EXPECT_EQ(active(), second);
}

TEST_F(Mdi, TheWindowMenuListsTheDocumentsAndChecksTheActiveOne) {
    newDocument("One");
    HWND second = newDocument("Two");
    const std::vector<win32test::MenuItem> items = windowMenu();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "&Cascade");
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].text, "&1 One");
    EXPECT_EQ(items[2].id, kFirstChildId);
    EXPECT_FALSE(items[2].checked);
    EXPECT_EQ(items[3].text, "&2 Two");
    EXPECT_EQ(items[3].id, kFirstChildId + 1);
    EXPECT_TRUE(items[3].checked);
    SetWindowTextA(second, "Renamed.txt");
    EXPECT_EQ(windowMenu()[3].text, "&2 Renamed.txt");
    DestroyWindow(second);
    EXPECT_EQ(windowMenu().size(), 3u);
    EXPECT_TRUE(windowMenu()[2].checked);
}

TEST_F(Mdi, PickingADocumentFromTheWindowMenuActivatesIt) {
    HWND first = newDocument("One");
    newDocument("Two");
    ASSERT_TRUE(win32test::chooseMenuCommand(frame, kFirstChildId));
    EXPECT_EQ(active(), first);
    EXPECT_TRUE(win32test::menuItemChecked(frame, kFirstChildId));
    EXPECT_FALSE(win32test::menuItemChecked(frame, kFirstChildId + 1));
}

TEST_F(Mdi, TheCloseBoxOfADocumentDestroysIt) {
    HWND document = newDocument("One");
    ASSERT_TRUE(win32test::clickCloseBox(document));
    EXPECT_FALSE(IsWindow(document));
    const std::vector<UINT> messages = messagesOf(document);
    EXPECT_NE(std::find(messages.begin(), messages.end(), static_cast<UINT>(WM_CLOSE)), messages.end());
    EXPECT_EQ(windowMenu().size(), 1u);
}

TEST_F(Mdi, AClickInsideADocumentActivatesItAndCtrlF4ClosesIt) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    ASSERT_TRUE(win32test::clickAt(first, 10, 10));
    EXPECT_EQ(active(), first);
    win32test::clickAt(second, 5, 5);
    EXPECT_EQ(active(), second);
    ASSERT_TRUE(win32test::pressKey(second, VK_F4, true));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(active(), first);
}

TEST_F(Mdi, TheFrameGoesWithItsDocumentsWhenClosed) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    ASSERT_TRUE(win32test::clickCloseBox(frame));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(mdiClient));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(second));
    for (HWND document : {first, second}) {
        const std::vector<UINT> messages = messagesOf(document);
        EXPECT_EQ(std::count(messages.begin(), messages.end(), static_cast<UINT>(WM_DESTROY)), 1);
    }
}

}  // namespace
