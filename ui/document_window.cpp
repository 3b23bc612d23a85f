#include "ui/document_window.h"

// A document is a bare MDI child for now: the frame can already create, tile,
// cascade and close documents, and the editor, tabs and logs come later in here.
LRESULT CALLBACK documentWindowProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcA(document, message, wParam, lParam);
}
