#include "ui/document_data.h"

#include <algorithm>

DocumentData* documentData(HWND document) {
    return reinterpret_cast<DocumentData*>(GetWindowLongPtrA(document, GWLP_USERDATA));
}

// The copied length, not WM_GETTEXTLENGTH's, which may count more than it copies.
std::string editorText(HWND editor) {
    const LRESULT length = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        std::max(GetWindowTextA(editor, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}
