// The one fixed-pitch font of the editors and log lists: every character is
// as wide as tmAveCharWidth, so a box at 6 + column * tmAveCharWidth frames
// the character at that column.
#include <windows.h>

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
    SIZE line{};
    CHECK(GetTextExtentPoint32A(dc, "iiii", 4, &narrow));
    CHECK(GetTextExtentPoint32A(dc, "WWWW", 4, &wide));
    CHECK(GetTextExtentPoint32A(dc, "(q0,1,q1,0,R)", 13, &line));
    CHECK_EQ(narrow.cx, wide.cx);
    CHECK_EQ(narrow.cx, 4 * metrics.tmAveCharWidth);
    CHECK_EQ(line.cx, 13 * metrics.tmAveCharWidth);
    CHECK_EQ(line.cy, metrics.tmHeight);
    SelectObject(dc, previous);
    ReleaseDC(top, dc);
    CHECK(DeleteObject(font));
}

}  // namespace conformance
