// GDI as the front end uses it: the one fixed-pitch font of the editors and
// log lists, whose every character is as wide as tmAveCharWidth (so a box at
// 6 + column * tmAveCharWidth frames the character at that column); the
// document's white brush; text and lines on a device context; the icon.
#include <windows.h>

#include "res/resource.h"
#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"

namespace conformance {

void checkFixedFont(HWND top) {
    HFONT font =
        CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, nullptr);
    CHECK(font != nullptr);
    HDC dc = GetDC(top);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    CHECK(GetTextMetricsA(dc, &metrics));
    CHECK_EQ(metrics.tmHeight, 16);
    CHECK_EQ(metrics.tmAveCharWidth, 8);
    // The low bit set means a variable pitch.
    CHECK_EQ(metrics.tmPitchAndFamily & 1, 0);
    SIZE narrow{};
    SIZE wide{};
    CHECK(GetTextExtentPoint32A(dc, "iiii", 4, &narrow));
    CHECK(GetTextExtentPoint32A(dc, "WWWW", 4, &wide));
    CHECK_EQ(narrow.cx, wide.cx);
    CHECK_EQ(narrow.cx, 4 * metrics.tmAveCharWidth);
    // A device context starts with a font of its own, which can be put back.
    CHECK(SelectObject(dc, previous) == font);
    ReleaseDC(top, dc);
    CHECK(DeleteObject(font));
}

void checkDrawing(HWND top) {
    LOGBRUSH white{};
    white.lbStyle = BS_SOLID;
    white.lbColor = RGB(255, 255, 255);
    HBRUSH brush = CreateBrushIndirect(&white);
    CHECK(brush != nullptr);
    CHECK(DeleteObject(brush));

    HDC dc = GetDC(top);
    CHECK(dc != nullptr);
    CHECK(TextOutA(dc, 6, 2, "^^101^", 6));
    // A box is drawn as one MoveToEx and lines that each start where the last ended.
    POINT previous{-1, -1};
    CHECK(MoveToEx(dc, 1, 2, nullptr));
    CHECK(LineTo(dc, 10, 2));
    CHECK(MoveToEx(dc, 0, 0, &previous));
    CHECK(previous.x == 10 && previous.y == 2);
    CHECK_EQ(ReleaseDC(top, dc), 1);

    CHECK(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPICON)) != nullptr);
    CHECK(LoadCursorA(nullptr, IDC_ARROW) != nullptr);
}

}  // namespace conformance
