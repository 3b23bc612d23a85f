#include "ui/failure_boundary.h"

#include <cstdio>

#include "ui/workbench.h"

namespace {

const char* actionOf(UINT message, WPARAM wParam) {
    switch (message) {
        case WM_CREATE:
            return "Unable to create a document";
        case WM_TIMER:
            return "Unable to step the machine";
        case CMD_RUN:
            return "Unable to run";
        case TMM_OPEN:
        case TMM_LOAD:
            return "Unable to open";
        case TMM_SAVEAS:
        case TMM_SAVE:
            return "Unable to save";
        case CMD_SAVE_OUTPUT:
            return "Unable to save output";
        case WM_COMMAND:
            if (LOWORD(wParam) == CMD_NEW) {
                return "Unable to create a document";
            }
            break;
    }
    return "Unable to finish the command";
}

}  // namespace

// Allocates nothing: memory may still be short. A line that cannot be drawn
// now is drawn at the next paint; a box at every paint would bury the program.
void reportFailedMessage(HWND window, UINT message, WPARAM wParam, const char* reason) {
    if (message == WM_DRAWITEM) {
        return;
    }
    char text[256];
    std::snprintf(text, sizeof text, "%s\n%s", actionOf(message, wParam), reason);
    MessageBoxA(window, text, "Error", MB_OK | MB_ICONERROR);
}
