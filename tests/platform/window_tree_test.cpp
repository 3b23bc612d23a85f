#include <cstring>
#include <string>

#include "platform_test.h"

namespace {

class WindowTree : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
    }
    std::vector<HWND> destroyed() const {
        std::vector<HWND> order;
        for (const ReceivedMessage& each : received) {
            if (each.message == WM_DESTROY)
                order.push_back(each.window);
        }
        return order;
    }
};

TEST_F(WindowTree, CreationHandsTheCreateStructToWmCreateBeforeReturning) {
    int creationData = 7;
    CREATESTRUCTA seen{};
    handler = [&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        if (message == WM_CREATE)
            seen = *reinterpret_cast<CREATESTRUCTA*>(lParam);
        return false;
    };
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW, "recorder", "Title", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200,
                        nullptr, nullptr, GetModuleHandleA(nullptr), &creationData);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(seen.lpCreateParams, &creationData);
    EXPECT_STREQ(seen.lpszName, "Title");
    EXPECT_EQ(seen.cx, 300);
    EXPECT_EQ(seen.cy, 200);
    EXPECT_EQ(seen.dwExStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    const std::vector<UINT> order = messagesOf(window);
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(order[2], static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(order[3], static_cast<UINT>(WM_MOVE));
}

TEST_F(WindowTree, AWindowWhoseCreateAnswersMinusOneIsNeverReturned) {
    handler = [](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = -1;
        return message == WM_CREATE;
    };
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(parent, nullptr);
    EXPECT_TRUE(win32test::topLevelWindows().empty());
}

TEST_F(WindowTree, CreationFailsForAnUnknownClassOrAStaleParent) {
    EXPECT_EQ(CreateWindowExA(0, "NOSUCHCLASS", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    DestroyWindow(parent);
    EXPECT_EQ(createRecorder(parent, WS_CHILD), nullptr);
    EXPECT_EQ(createRecorder(nullptr, WS_CHILD), nullptr);
}

TEST_F(WindowTree, DestroyGoesToTheParentFirstThenChildrenDepthFirst) {
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    HWND child1 = createRecorder(parent, WS_CHILD);
    HWND grandchild = createRecorder(child1, WS_CHILD);
    HWND child2 = createRecorder(parent, WS_CHILD);
    ASSERT_TRUE(DestroyWindow(parent));
    EXPECT_EQ(destroyed(), (std::vector<HWND>{parent, child1, grandchild, child2}));
    for (HWND gone : {parent, child1, grandchild, child2}) EXPECT_FALSE(IsWindow(gone));
}

TEST_F(WindowTree, ChildrenDestroyedInsideTheParentsDestroyAreDestroyedOnce) {
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    HWND child1 = createRecorder(parent, WS_CHILD);
    HWND grandchild = createRecorder(child1, WS_CHILD);
    HWND child2 = createRecorder(parent, WS_CHILD);
    BOOL laterCall = TRUE;
    handler = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (window == parent && message == WM_DESTROY) {
            DestroyWindow(child2);
            DestroyWindow(child1);
            laterCall = DestroyWindow(grandchild);
        }
        return false;
    };
    ASSERT_TRUE(DestroyWindow(parent));
    EXPECT_EQ(destroyed(), (std::vector<HWND>{parent, child2, child1, grandchild}));
    EXPECT_FALSE(laterCall);
    EXPECT_FALSE(DestroyWindow(parent));
}

TEST_F(WindowTree, CallsOnNullOrStaleHandlesFailWithoutHarm) {
    HWND window = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    DestroyWindow(window);
    RECT rect{1, 2, 3, 4};
    char text[8] = "keep";
    for (HWND bad : {static_cast<HWND>(nullptr), window}) {
        EXPECT_EQ(SendMessageA(bad, WM_USER, 1, 2), 0);
        EXPECT_FALSE(PostMessageA(bad ? bad : window, WM_USER, 0, 0));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_FALSE(ShowWindow(bad, SW_SHOW));
        EXPECT_FALSE(IsWindowVisible(bad));
        EXPECT_FALSE(GetClientRect(bad, &rect));
        EXPECT_FALSE(SetWindowPos(bad, nullptr, 0, 0, 5, 5, SWP_NOZORDER));
        EXPECT_FALSE(SetWindowTextA(bad, "x"));
        EXPECT_EQ(GetWindowTextA(bad, text, sizeof text), 0);
        EXPECT_EQ(SetWindowLongPtrA(bad, GWLP_USERDATA, 5), 0);
        EXPECT_EQ(GetWindowLongPtrA(bad, GWLP_USERDATA), 0);
        EXPECT_EQ(GetParent(bad), nullptr);
    }
    EXPECT_EQ(rect, (RECT{1, 2, 3, 4}));
    EXPECT_FALSE(InvalidateRect(window, nullptr, FALSE));
}

TEST_F(WindowTree, UserDataHoldsAWholePointer) {
    HWND window = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    static int record;
    const auto value = reinterpret_cast<LONG_PTR>(&record);
    EXPECT_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, value), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), value);
    static_assert(sizeof(LONG_PTR) == sizeof(void*) && sizeof(WPARAM) == sizeof(void*) &&
                  sizeof(LPARAM) == sizeof(void*) && sizeof(LRESULT) == sizeof(void*));
}

TEST_F(WindowTree, SizingAChildReportsItsClientAreaInsideTheBorder) {
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    HWND child = createRecorder(parent, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 50, 50);
    received.clear();
    ASSERT_TRUE(SetWindowPos(child, nullptr, 5, 6, 200, 120, SWP_NOZORDER));
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client, (RECT{0, 0, 198, 118}));
    EXPECT_EQ(win32test::windowRect(child), (RECT{5, 6, 205, 126}));
    bool sizeSeen = false;
    for (const ReceivedMessage& each : received) {
        if (each.window == child && each.message == WM_SIZE) {
            sizeSeen = true;
            EXPECT_EQ(LOWORD(each.lParam), 198);
            EXPECT_EQ(HIWORD(each.lParam), 118);
        }
    }
    EXPECT_TRUE(sizeSeen);
}

TEST_F(WindowTree, VisibilityFollowsShowWindowAndTheParents) {
    HWND parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    HWND child = createRecorder(parent, WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(win32test::isShown(child));
    EXPECT_FALSE(ShowWindow(parent, SW_SHOW));
    EXPECT_TRUE(win32test::isShown(child));
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_TRUE(IsWindowVisible(parent));
}

TEST_F(WindowTree, WindowTextKeepsEveryByteFromOneTo255) {
    HWND window = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    std::string all;
    for (int byte = 1; byte <= 255; ++byte) all += static_cast<char>(byte);
    ASSERT_TRUE(SetWindowTextA(window, all.c_str()));
    char buffer[300] = {};
    EXPECT_EQ(GetWindowTextA(window, buffer, sizeof buffer), 255);
    EXPECT_EQ(std::string(buffer), all);
    EXPECT_EQ(GetWindowTextLengthA(window), 255);
    char small[4] = {};
    EXPECT_EQ(GetWindowTextA(window, small, sizeof small), 3);
    EXPECT_EQ(std::string(small), all.substr(0, 3));
}

TEST_F(WindowTree, ClassesRegisterOnceAndUnregisterByName) {
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = "Recorder";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_TRUE(UnregisterClassA("RECORDER", nullptr));
    EXPECT_FALSE(UnregisterClassA("RECORDER", nullptr));
    EXPECT_EQ(createRecorder(nullptr, WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_FALSE(UnregisterClassA("LISTBOX", nullptr));
}

}  // namespace
