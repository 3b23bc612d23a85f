#include "ui/document_files.h"

LRESULT onOpen(HWND, DocumentData&) {
    return 0;
}

LRESULT onLoad(HWND, DocumentData&, const char*) {
    return 0;
}

LRESULT onSaveAs(HWND, DocumentData&) {
    return 0;
}

LRESULT onSave(HWND, DocumentData&, const char*) {
    return 0;
}

LRESULT onSaveOutput(HWND, DocumentData&) {
    return 0;
}
