// The frame's menu as the resource script gives it, and CheckMenuItem's check marks.
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"

namespace conformance {
namespace {

constexpr UINT popup = 0xFFFFFFFF;
constexpr UINT separator = 0;

std::vector<UINT> idsOf(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        ids.push_back(GetMenuItemID(menu, i));
    }
    return ids;
}

std::string textOf(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

void checkStructure(HMENU menu) {
    CHECK_EQ(GetMenuItemCount(menu), 5);
    const char* const titles[] = {"&File", "&Edit", "&Turing", "&Window", "&Help"};
    for (int i = 0; i < 5; ++i) {
        CHECK(textOf(menu, i) == titles[i]);
        CHECK_EQ(GetMenuItemID(menu, i), popup);
    }
    CHECK(idsOf(GetSubMenu(menu, 0)) == (std::vector<UINT>{CMD_NEW, CMD_OPEN, CMD_SAVE, CMD_SAVE_AS,
                                                           CMD_CLOSE, separator, CMD_EXIT}));
    CHECK(textOf(GetSubMenu(menu, 0), 3) == "Save &as...");
    CHECK(idsOf(GetSubMenu(menu, 1)) == (std::vector<UINT>{CMD_UNDO, separator, CMD_CUT, CMD_COPY,
                                                           CMD_PASTE, separator, CMD_DELETE}));
    const HMENU turing = GetSubMenu(menu, 2);
    CHECK(idsOf(turing) ==
          (std::vector<UINT>{CMD_RUN, CMD_STOP, separator, popup, separator, CMD_SAVE_OUTPUT}));
    CHECK(textOf(turing, 3) == "&Speed");
    CHECK(idsOf(GetSubMenu(turing, 3)) ==
          (std::vector<UINT>{CMD_SPEED_125MS, CMD_SPEED_250MS, CMD_SPEED_500MS, CMD_SPEED_1S,
                             CMD_SPEED_2S, CMD_SPEED_3S}));
    CHECK(idsOf(GetSubMenu(menu, 3)) ==
          (std::vector<UINT>{CMD_TILE_HORZ, CMD_TILE_VERT, CMD_CASCADE}));
    CHECK(idsOf(GetSubMenu(menu, 4)) == (std::vector<UINT>{CMD_ABOUT}));
    CHECK(GetSubMenu(menu, 5) == nullptr);
    CHECK_EQ(GetMenuState(menu, CMD_SPEED_500MS, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0);
}

// The speed items are found by command through the nested submenu.
void checkCheckMarks(HMENU menu) {
    CHECK_EQ(CheckMenuItem(menu, CMD_SPEED_500MS, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    CHECK((GetMenuState(menu, CMD_SPEED_500MS, MF_BYCOMMAND) & MF_CHECKED) != 0);
    CHECK_EQ(CheckMenuItem(menu, CMD_SPEED_500MS, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    CHECK_EQ(GetMenuState(menu, CMD_SPEED_500MS, MF_BYCOMMAND) & MF_CHECKED, 0);
}

}  // namespace

void checkMenus() {
    const HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    CHECK(menu != nullptr);
    checkStructure(menu);
    checkCheckMarks(menu);
    CHECK(DestroyMenu(menu));
}

}  // namespace conformance
