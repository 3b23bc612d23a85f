// The device contexts of windows: GetDC and ReleaseDC.
#include "gdi/gdi.h"
#include "windows/window.h"

using namespace platform;

HDC WINAPI GetDC(HWND handle) {
    // Outside a paint the stand-in has nothing to draw on: such a context
    // answers questions about its font and ignores drawing.
    const Window* window = findWindow(handle);
    return createMeasuringContext(window ? window->font : nullptr);
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    return releaseDeviceContext(dc) ? 1 : 0;
}
