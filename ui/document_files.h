// Opening, loading and saving a document's description, and saving its output.
#ifndef ZARN_UI_DOCUMENT_FILES_H
#define ZARN_UI_DOCUMENT_FILES_H

#include <windows.h>

#include "ui/document_data.h"

LRESULT onOpen(HWND document, DocumentData& data, const char* path);
LRESULT onLoad(HWND document, DocumentData& data, const char* path);
LRESULT onSaveAs(HWND document, DocumentData& data);
LRESULT onSave(HWND document, DocumentData& data, const char* path);
LRESULT onSaveOutput(HWND document, DocumentData& data);

#endif
