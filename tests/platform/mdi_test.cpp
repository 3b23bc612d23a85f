#include <array>
#include <tuple>

#include "platform_test.h"

namespace {

constexpr UINT firstChildId = 100;

using Place = std::array<LONG, 4>;

Place windowPlace(HWND window) {
    const RECT rect = win32test::windowRect(window);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

Place clientPlace(HWND window) {
    const RECT rect = win32test::clientRect(window);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The conformance checks' frame and documents, which record what they receive.
class Mdi : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        HMENU windows = CreatePopupMenu();
        AppendMenuA(windows, MF_STRING, 2, "&Cascade");
        HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), "&Window");
        frame = CreateWindowExA(WS_EX_APPWINDOW, "RECFRAME", "Frame",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, nullptr, nullptr);
        CLIENTCREATESTRUCT settings{windows, firstChildId};
        mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0,
                                    0, frame, reinterpret_cast<HMENU>(3244), nullptr, &settings);
        ASSERT_NE(mdiClient, nullptr);
        conformance::recordedClient = mdiClient;
        ShowWindow(mdiClient, SW_SHOW);
        win32test::resizeClient(frame, 780, 540);
        conformance::received.clear();
    }
    HWND newDocument(const char* title) {
        return CreateWindowExA(WS_EX_MDICHILD, "RECCHILD", title, WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               mdiClient, nullptr, nullptr, nullptr);
    }
    HWND active() const {
        return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    }
    bool activeIsMaximized() const {
        BOOL maximized = -1;
        SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
        return maximized == TRUE;
    }
    // The last WM_SIZE: its type, width and height.
    static std::tuple<WPARAM, int, int> lastSize(HWND window) {
        std::tuple<WPARAM, int, int> size{~WPARAM(0), -1, -1};
        for (const conformance::Received& message : conformance::received) {
            if (message.window == window && message.message == WM_SIZE) {
                size = {message.wParam, LOWORD(message.lParam), HIWORD(message.lParam)};
            }
        }
        return size;
    }
    HWND frame = nullptr;
    HWND mdiClient = nullptr;
};

// Three documents tile in one row or one column; four in a two by two grid;
// the active one takes the first place.
TEST_F(Mdi, TilingThreeOrFourDocumentsSharesTheClientOut) {
    HWND one = newDocument("One");
    HWND two = newDocument("Two");
    HWND three = newDocument("Three");
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_EQ(windowPlace(three), (Place{0, 0, 260, 540}));
    EXPECT_EQ(windowPlace(two), (Place{260, 0, 520, 540}));
    EXPECT_EQ(windowPlace(one), (Place{520, 0, 780, 540}));
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    EXPECT_EQ(windowPlace(three), (Place{0, 0, 780, 180}));
    EXPECT_EQ(windowPlace(two), (Place{0, 180, 780, 360}));
    EXPECT_EQ(windowPlace(one), (Place{0, 360, 780, 540}));
    HWND four = newDocument("Four");
    SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_EQ(windowPlace(four), (Place{0, 0, 390, 270}));
    EXPECT_EQ(windowPlace(three), (Place{0, 270, 390, 540}));
    EXPECT_EQ(windowPlace(two), (Place{390, 0, 780, 270}));
    EXPECT_EQ(windowPlace(one), (Place{390, 270, 780, 540}));
}

// Minimising, maximising and restoring documents.

TEST_F(Mdi, TheMaximiseButtonFillsTheClientWithTheDocumentAndNamesItInTheFrameTitle) {
    HWND document = newDocument("One");
    ASSERT_TRUE(win32test::clickCaptionButton(document, win32test::CaptionButton::Maximize));
    EXPECT_TRUE(IsZoomed(document));
    EXPECT_EQ(clientPlace(mdiClient), (Place{0, 0, 780, 540}));
    EXPECT_EQ(lastSize(document), std::make_tuple(WPARAM(SIZE_MAXIMIZED), 780, 540));
    EXPECT_EQ(clientPlace(document), (Place{0, 0, 780, 540}));
    EXPECT_EQ(win32test::windowText(frame), "Frame - [One]");
    EXPECT_EQ(active(), document);
    EXPECT_TRUE(activeIsMaximized());
    SetWindowTextA(document, "Renamed.tm");
    EXPECT_EQ(win32test::windowText(frame), "Frame - [Renamed.tm]");
    SetWindowTextA(frame, "Workbench");
    EXPECT_EQ(win32test::windowText(frame), "Workbench - [Renamed.tm]");
    win32test::resizeClient(frame, 600, 400);
    EXPECT_EQ(lastSize(document), std::make_tuple(WPARAM(SIZE_MAXIMIZED), 600, 400));
    EXPECT_EQ(clientPlace(document), (Place{0, 0, 600, 400}));
}

TEST_F(Mdi, TheMaximisedStateGoesWithTheActivation) {
    HWND first = newDocument("One");
    const Place firstNormal = windowPlace(first);
    HWND second = newDocument("Two");
    const Place secondNormal = windowPlace(second);
    SendMessageA(mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    ASSERT_TRUE(win32test::chooseMenuCommand(frame, firstChildId));
    EXPECT_EQ(active(), first);
    EXPECT_TRUE(IsZoomed(first));
    EXPECT_FALSE(IsZoomed(second));
    EXPECT_EQ(windowPlace(second), secondNormal);
    EXPECT_EQ(win32test::windowText(frame), "Frame - [One]");
    ASSERT_TRUE(win32test::pressKey(first, VK_F6, true));
    EXPECT_EQ(active(), second);
    EXPECT_TRUE(IsZoomed(second));
    EXPECT_FALSE(IsZoomed(first));
    EXPECT_EQ(windowPlace(first), firstNormal);
    HWND third = newDocument("Three");
    EXPECT_FALSE(IsZoomed(second));
    SendMessageA(mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(third), 0);
    ASSERT_TRUE(win32test::clickCaptionButton(third, win32test::CaptionButton::Close));
    EXPECT_FALSE(IsWindow(third));
    EXPECT_TRUE(IsZoomed(active()));
    EXPECT_EQ(win32test::windowText(frame), "Frame - [Two]");
}

TEST_F(Mdi, MinimisingLeavesACaptionAtTheBottomAndRestoringBringsTheDocumentBack) {
    HWND first = newDocument("One");
    HWND second = newDocument("Two");
    const Place normal = windowPlace(second);
    const RECT normalClient = win32test::clientRect(second);
    ASSERT_TRUE(win32test::clickCaptionButton(second, win32test::CaptionButton::Minimize));
    EXPECT_TRUE(IsIconic(second));
    EXPECT_EQ(lastSize(second), std::make_tuple(WPARAM(SIZE_MINIMIZED), 0, 0));
    EXPECT_EQ(clientPlace(second), (Place{0, 0, 0, 0}));
    const RECT minimized = win32test::windowRect(second);
    EXPECT_EQ(minimized.left, 0);
    EXPECT_EQ(minimized.bottom, 540);
    EXPECT_LT(minimized.bottom - minimized.top, 40);
    EXPECT_EQ(active(), first);
    ASSERT_TRUE(win32test::clickCaptionButton(second, win32test::CaptionButton::Restore));
    EXPECT_FALSE(IsIconic(second));
    EXPECT_EQ(windowPlace(second), normal);
    EXPECT_EQ(lastSize(second), std::make_tuple(WPARAM(SIZE_RESTORED), int(normalClient.right),
                                                int(normalClient.bottom)));
    // A maximised document minimised and restored is maximised again.
    ShowWindow(second, SW_MAXIMIZE);
    ShowWindow(second, SW_MINIMIZE);
    EXPECT_EQ(win32test::windowText(frame), "Frame");
    ShowWindow(second, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(second));
    EXPECT_EQ(lastSize(second), std::make_tuple(WPARAM(SIZE_MAXIMIZED), 780, 540));
}

}  // namespace
