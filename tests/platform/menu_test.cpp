#include "platform_test.h"
#include "stand_in_ids.h"

namespace {

class Menus : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = recorderProc;
        frameClass.lpszClassName = "MENUFRAME";
        frameClass.lpszMenuName = MAKEINTRESOURCEA(IDR_TEST_MENU);
        ASSERT_NE(RegisterClassA(&frameClass), 0);
        frame = CreateWindowExA(0, "MENUFRAME", "Menus", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame, nullptr);
        received.clear();
    }
    static LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        received.push_back({window, message, wParam, lParam});
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND frame = nullptr;
};

TEST_F(Menus, TheClassMenuComesFromTheResourceScript) {
    HMENU menu = GetMenu(frame);
    ASSERT_NE(menu, nullptr);
    const std::vector<win32test::MenuItem> bar = win32test::menuItems(menu);
    ASSERT_EQ(bar.size(), 3u);
    EXPECT_EQ(bar[0].text, "&File");
    EXPECT_EQ(bar[1].text, "&Run");
    EXPECT_TRUE(bar[2].popup);
    const std::vector<win32test::MenuItem> run = win32test::menuItems(GetSubMenu(menu, 1));
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(run[0].id, static_cast<UINT>(ID_GO));
    EXPECT_TRUE(run[1].separator);
    EXPECT_TRUE(run[2].popup);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetSubMenu(menu, 1), 2)), 2);
    EXPECT_EQ(GetSubMenu(menu, 3), nullptr);
}

TEST_F(Menus, CheckMarksAnswerWithTheirPreviousState) {
    HMENU menu = GetMenu(frame);
    EXPECT_EQ(CheckMenuItem(menu, ID_SLOW, MF_BYCOMMAND | MF_CHECKED),
              static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(menu, ID_SLOW, MF_CHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_TRUE(GetMenuState(menu, ID_SLOW, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(win32test::menuItemChecked(frame, ID_SLOW));
    EXPECT_EQ(CheckMenuItem(menu, ID_SLOW, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_FALSE(win32test::menuItemChecked(frame, ID_SLOW));
    EXPECT_EQ(CheckMenuItem(menu, 12345, MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_EQ(GetMenuState(menu, 12345, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(CheckMenuItem(nullptr, ID_SLOW, MF_CHECKED), static_cast<DWORD>(-1));
}

TEST_F(Menus, ChoosingAnItemSendsItsCommandToTheWindow) {
    ASSERT_TRUE(win32test::chooseMenuCommand(frame, ID_FAST));
    ASSERT_TRUE(win32test::chooseMenuCommand(frame, ID_ABOUT));
    std::vector<WPARAM> commands;
    for (const ReceivedMessage& each : received) {
        if (each.message == WM_COMMAND)
            commands.push_back(each.wParam);
    }
    EXPECT_EQ(commands, (std::vector<WPARAM>{ID_FAST, ID_ABOUT}));
    EXPECT_FALSE(win32test::chooseMenuCommand(frame, 4242));
}

TEST_F(Menus, AGrayedItemCannotBeChosen) {
    EnableMenuItem(GetMenu(frame), ID_GO, MF_GRAYED);
    EXPECT_FALSE(win32test::chooseMenuCommand(frame, ID_GO));
    EXPECT_TRUE(win32test::menuItems(GetSubMenu(GetMenu(frame), 1))[0].grayed);
}

TEST_F(Menus, TheMenuGoesWithItsWindow) {
    HMENU menu = GetMenu(frame);
    HMENU file = GetSubMenu(menu, 0);
    DestroyWindow(frame);
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetMenuItemCount(file), -1);
}

}  // namespace
