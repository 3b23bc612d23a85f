// The multi-line "EDIT" that holds a description: its text with CR LF line
// breaks, reading it back into short buffers, and the Edit menu's messages
// on a selection, through the real clipboard; its scroll bars.
#include <windows.h>

#include <string>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"

namespace conformance {
namespace {

constexpr DWORD editorStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN;

HWND createEditor(HWND parent) {
    return CreateWindowExA(0, "EDIT", nullptr, editorStyle, 0, 0, 300, 200, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

std::string textOf(HWND editor) {
    const LRESULT length = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(editor, text.data(), static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void checkText(HWND editor) {
    CHECK_EQ(GetWindowTextLengthA(editor), 0);
    const char* const description = "tape 101\r\n\r\n(q0,1,q1,0,R)\r\n";
    CHECK(SetWindowTextA(editor, description));
    CHECK(textOf(editor) == description);
    CHECK(SetWindowTextA(editor, "ab\r\ncd"));
    CHECK_EQ(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), 6);
    char shortBuffer[4] = "xyz";
    CHECK_EQ(GetWindowTextA(editor, shortBuffer, sizeof shortBuffer), 3);
    CHECK_TEXT(shortBuffer, "ab\r");
    CHECK(SetWindowTextA(editor, "a\nb"));
    CHECK_EQ(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), bareLineFeedTextLength);
    CHECK(SetWindowTextA(editor, ""));
    CHECK_EQ(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), 0);
}

void checkEditMessages(HWND editor, HWND other) {
    SetWindowTextA(editor, "ab\r\ncd");
    // Undo with nothing to undo still answers 1.
    CHECK_EQ(SendMessageA(editor, EM_UNDO, 0, 0), 1);
    CHECK(textOf(editor) == "ab\r\ncd");
    SendMessageA(editor, EM_SETSEL, 1, 1);
    SendMessageA(editor, WM_CLEAR, 0, 0);
    CHECK(textOf(editor) == "ab\r\ncd");

    SendMessageA(editor, EM_SETSEL, 0, 2);
    SendMessageA(editor, WM_CUT, 0, 0);
    CHECK(textOf(editor) == "\r\ncd");
    CHECK_EQ(SendMessageA(editor, EM_CANUNDO, 0, 0), 1);
    CHECK_EQ(SendMessageA(editor, EM_UNDO, 0, 0), 1);
    CHECK(textOf(editor) == "ab\r\ncd");
    SendMessageA(editor, EM_SETSEL, 6, 6);
    SendMessageA(editor, WM_PASTE, 0, 0);
    CHECK(textOf(editor) == "ab\r\ncdab");

    SendMessageA(editor, EM_SETSEL, 4, 6);
    SendMessageA(editor, WM_COPY, 0, 0);
    CHECK(textOf(editor) == "ab\r\ncdab");
    SendMessageA(other, WM_PASTE, 0, 0);
    CHECK(textOf(other) == "cd");
    SendMessageA(editor, WM_CLEAR, 0, 0);
    CHECK(textOf(editor) == "ab\r\nab");
}

void checkFont(HWND editor) {
    HFONT font =
        CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, nullptr);
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    CHECK(reinterpret_cast<HFONT>(SendMessageA(editor, WM_GETFONT, 0, 0)) == font);
    DestroyWindow(editor);
    CHECK(DeleteObject(font));
}

// The scroll bars of an editor created with them are there from the start,
// empty as it is: its client area is what they leave.
void checkScrollBars(HWND top) {
    HWND bare = CreateWindowExA(0, "EDIT", nullptr, editorStyle & ~(WS_VSCROLL | WS_HSCROLL), 0, 0,
                                300, 200, top, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND editor = createEditor(top);
    RECT bareArea{};
    RECT area{};
    GetClientRect(bare, &bareArea);
    GetClientRect(editor, &area);
    CHECK(area.right > 0 && area.right < bareArea.right);
    CHECK(area.bottom > 0 && area.bottom < bareArea.bottom);
    DestroyWindow(bare);
    DestroyWindow(editor);
}

}  // namespace

void checkEdit(HWND top) {
    checkScrollBars(top);
    HWND editor = createEditor(top);
    HWND other = createEditor(top);
    CHECK(editor != nullptr);
    checkText(editor);
    checkEditMessages(editor, other);
    DestroyWindow(other);
    checkFont(editor);
}

}  // namespace conformance
