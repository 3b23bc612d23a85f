// The multiple-document interface as the frame uses it: activation on
// creation, the document list of the window menu, destruction activating
// another document, tiling, cascading, a new document while one is
// maximised, and the frame's default handling.
#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

constexpr UINT firstDocumentId = 100;
constexpr int clientWidth = 780;
constexpr int clientHeight = 540;

struct Mdi {
    HWND frame;
    HWND client;
    HMENU windowMenu;
};

Mdi createMdi() {
    Mdi mdi{};
    mdi.frame = CreateWindowExA(0, "RECFRAME", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                700, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    mdi.windowMenu = GetSubMenu(GetMenu(mdi.frame), 3);
    CLIENTCREATESTRUCT create{};
    create.hWindowMenu = mdi.windowMenu;
    create.idFirstChild = firstDocumentId;
    mdi.client =
        CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, mdi.frame,
                        reinterpret_cast<HMENU>(3244), GetModuleHandleA(nullptr), &create);
    recordedClient = mdi.client;
    ShowWindow(mdi.client, SW_SHOW);
    SetWindowPos(mdi.client, nullptr, 0, 0, clientWidth, clientHeight, SWP_NOZORDER);
    return mdi;
}

HWND createDocument(const Mdi& mdi, const char* title) {
    return CreateWindowExA(WS_EX_MDICHILD, "RECCHILD", title, WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdi.client,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND activeDocument(const Mdi& mdi) {
    return reinterpret_cast<HWND>(SendMessageA(mdi.client, WM_MDIGETACTIVE, 0, 0));
}

// A document's outer rectangle in the MDI client's coordinates.
RECT placeOf(const Mdi& mdi, HWND document) {
    RECT client{};
    RECT window{};
    GetWindowRect(mdi.client, &client);
    GetWindowRect(document, &window);
    return RECT{window.left - client.left, window.top - client.top, window.right - client.left,
                window.bottom - client.top};
}

std::string menuText(HMENU menu, int position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool checked(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

struct Documents {
    HWND first;
    HWND second;
};

Documents checkCreation(const Mdi& mdi) {
    CHECK(activeDocument(mdi) == nullptr);
    received.clear();
    HWND first = createDocument(mdi, "one");
    const std::vector<UINT> expected{
        WM_CREATE,           WM_SIZE,          WM_MOVE,     WM_SHOWWINDOW,
        WM_WINDOWPOSCHANGED, WM_CHILDACTIVATE, WM_SETFOCUS, WM_MDIACTIVATE};
    CHECK(messagesOf(first, expected) == expected);
    CHECK(activeDocument(mdi) == first);
    HWND second = createDocument(mdi, "two");
    CHECK(activeDocument(mdi) == second);

    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 6);
    CHECK((GetMenuState(mdi.windowMenu, 3, MF_BYPOSITION) & MF_SEPARATOR) != 0);
    CHECK(menuText(mdi.windowMenu, 4) == "&1 one");
    CHECK(menuText(mdi.windowMenu, 5) == "&2 two");
    CHECK_EQ(GetMenuItemID(mdi.windowMenu, 4), firstDocumentId);
    CHECK_EQ(GetMenuItemID(mdi.windowMenu, 5), firstDocumentId + 1);
    CHECK(!checked(mdi.windowMenu, firstDocumentId));
    CHECK(checked(mdi.windowMenu, firstDocumentId + 1));

    // Picking a document from the list is the frame's default handling.
    SendMessageA(mdi.frame, WM_COMMAND, firstDocumentId, 0);
    CHECK(activeDocument(mdi) == first);
    CHECK(checked(mdi.windowMenu, firstDocumentId));
    SendMessageA(mdi.client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(second), 0);
    CHECK(activeDocument(mdi) == second);
    return {first, second};
}

// With two documents, the active one takes the first place.
void checkTiling(const Mdi& mdi, HWND active, HWND other) {
    SendMessageA(mdi.client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    RECT a = placeOf(mdi, active);
    RECT b = placeOf(mdi, other);
    CHECK(a.left == 0 && a.right == clientWidth && b.left == 0 && b.right == clientWidth);
    CHECK(a.top == 0 && a.bottom == b.top && b.bottom == clientHeight);
    CHECK_EQ(a.bottom - a.top, b.bottom - b.top);

    SendMessageA(mdi.client, WM_MDITILE, MDITILE_VERTICAL, 0);
    a = placeOf(mdi, active);
    b = placeOf(mdi, other);
    CHECK(a.top == 0 && a.bottom == clientHeight && b.top == 0 && b.bottom == clientHeight);
    CHECK(a.left == 0 && a.right == b.left && b.right == clientWidth);
    CHECK_EQ(a.right - a.left, b.right - b.left);

    // Cascading: the same size for both, stepped down and to the right, the
    // active one in front, last in the cascade.
    SendMessageA(mdi.client, WM_MDICASCADE, 0, 0);
    a = placeOf(mdi, active);
    b = placeOf(mdi, other);
    CHECK(b.left >= 0 && b.top >= 0);
    CHECK(a.left > b.left && a.top > b.top);
    CHECK_EQ(a.left - b.left, a.top - b.top);
    CHECK(a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top);
    CHECK(a.right <= clientWidth && a.bottom <= clientHeight);
    CHECK(activeDocument(mdi) == active);
}

void checkDestruction(const Mdi& mdi, HWND first, HWND second) {
    HWND third = createDocument(mdi, "three");
    SendMessageA(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(third), 0);
    CHECK(!IsWindow(third));
    CHECK(activeDocument(mdi) == second);
    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 6);

    // The close box and the system menu's Close reach the document as WM_CLOSE.
    SendMessageA(second, WM_CLOSE, 0, 0);
    CHECK(!IsWindow(second));
    CHECK(activeDocument(mdi) == first);
    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 5);
    CHECK(menuText(mdi.windowMenu, 4) == "&1 one");
    CHECK(checked(mdi.windowMenu, firstDocumentId));

    SendMessageA(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
    CHECK(activeDocument(mdi) == nullptr);
    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 3);
}

// Ten documents: Win32 lists nine and "More windows...".
void checkTenDocuments(const Mdi& mdi) {
    std::vector<HWND> documents;
    for (int i = 0; i < 10; ++i) {
        documents.push_back(createDocument(mdi, "many"));
    }
    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 3 + 1 + listedDocumentsOfTen);
    for (HWND document : documents) {
        SendMessageA(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
    }
    CHECK_EQ(GetMenuItemCount(mdi.windowMenu), 3);
}

// File > New while the active document is maximised: the new document
// restores that one and comes up normal itself, active.
void checkCreationWhileMaximised(const Mdi& mdi) {
    HWND first = createDocument(mdi, "one");
    SendMessageA(mdi.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
    CHECK(IsZoomed(first));
    HWND second = createDocument(mdi, "two");
    CHECK(!IsZoomed(first));
    CHECK(!IsZoomed(second));
    CHECK(activeDocument(mdi) == second);
    char title[64] = "";
    GetWindowTextA(mdi.frame, title, sizeof title);
    CHECK_TEXT(title, "Frame");
    SendMessageA(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
    SendMessageA(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
}

}  // namespace

void checkMdi() {
    const Mdi mdi = createMdi();
    RECT client{};
    GetClientRect(mdi.client, &client);
    CHECK(client.right == clientWidth && client.bottom == clientHeight);
    const Documents documents = checkCreation(mdi);
    checkTiling(mdi, documents.second, documents.first);
    checkDestruction(mdi, documents.first, documents.second);
    checkTenDocuments(mdi);
    checkCreationWhileMaximised(mdi);
    DestroyWindow(mdi.frame);
    recordedClient = nullptr;
}

}  // namespace conformance
