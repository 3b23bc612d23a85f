// The About box built from its DIALOG template: its controls in order with
// their classes, ids and styles, the default button, the focus that
// WM_INITDIALOG's TRUE gives to OK, and the ways it ends; a missing template.
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"

namespace conformance {
namespace {

constexpr UINT afterInit = WM_APP + 1;

struct Control {
    std::string className;
    int id;
    LONG style;
    std::string text;
};

struct Seen {
    std::vector<Control> controls;
    LONG style = 0;
    std::string caption;
    bool focusOnOk = false;
    LRESULT defaultId = 0;
    bool ownerDisabled = false;
};

Seen seen;
HWND owner;
// How the box is closed: a WM_COMMAND with IDOK or IDCANCEL, or WM_CLOSE.
UINT closeWith;
WPARAM closeParameter;

std::string lowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string textOf(HWND window) {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void recordControls(HWND dialog) {
    seen = Seen{};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        seen.controls.push_back({lowerCase(className), GetDlgCtrlID(child),
                                 GetWindowLongA(child, GWL_STYLE), textOf(child)});
    }
    seen.style = GetWindowLongA(dialog, GWL_STYLE);
    seen.caption = textOf(dialog);
    seen.ownerDisabled = !IsWindowEnabled(owner);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            recordControls(dialog);
            PostMessageA(dialog, afterInit, 0, 0);
            return TRUE;
        case afterInit:
            seen.focusOnOk = GetFocus() == GetDlgItem(dialog, IDOK);
            seen.defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
            PostMessageA(dialog, closeWith, closeParameter, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
    }
    return FALSE;
}

INT_PTR runAboutBox(UINT message, WPARAM wParam) {
    closeWith = message;
    closeParameter = wParam;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutProc,
                           0);
}

void checkTemplate() {
    CHECK_EQ(seen.controls.size(), 5);
    if (seen.controls.size() != 5) {
        return;
    }
    const Control& ok = seen.controls[0];
    CHECK(ok.className == "button" && ok.id == IDOK && ok.text == "OK");
    CHECK_EQ(ok.style & 0x0F, BS_DEFPUSHBUTTON);
    CHECK_EQ(ok.style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP), WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    const char* const texts[] = {"ZARN Turing Machine", "", "Version 1.00"};
    for (size_t i = 1; i < 5; ++i) {
        const Control& control = seen.controls[i];
        CHECK(control.className == "static");
        // A template id of -1 is the 16-bit 0xFFFF.
        CHECK_EQ(LOWORD(control.id), 0xFFFF);
        CHECK_EQ(control.style & 0x1F, i == 2 ? SS_ICON : SS_LEFT);
        CHECK_EQ(control.style & WS_GROUP, i == 2 ? 0 : WS_GROUP);
        if (i < 4 && i != 2) {
            CHECK(control.text == texts[i - 1]);
        }
    }
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    CHECK_EQ(seen.style & frame, frame);
    CHECK(seen.caption == "About");
    CHECK(seen.ownerDisabled);
    CHECK(seen.focusOnOk);
    CHECK_EQ(seen.defaultId, MAKELONG(IDOK, DC_HASDEFID));
}

}  // namespace

void checkAboutBox(HWND top) {
    owner = top;
    CHECK_EQ(runAboutBox(WM_COMMAND, IDOK), IDOK);
    checkTemplate();
    CHECK(IsWindowEnabled(top));
    CHECK_EQ(runAboutBox(WM_COMMAND, IDCANCEL), IDCANCEL);
    // The close box: the default handling of WM_CLOSE answers IDCANCEL.
    CHECK_EQ(runAboutBox(WM_CLOSE, 0), IDCANCEL);
    // A template that is not there opens nothing.
    CHECK_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(4242), top, aboutProc, 0),
             -1);
}

}  // namespace conformance
