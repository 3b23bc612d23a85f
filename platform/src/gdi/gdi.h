// GDI objects (fonts, brushes, pens) and device contexts that paint into a
// QPainter, with an optional recording of what was drawn.
#ifndef ZARN_PLATFORM_GDI_H
#define ZARN_PLATFORM_GDI_H

#include <win32_test.h>
#include <windows.h>

#include <QColor>
#include <QFont>
#include <optional>
#include <vector>

class QPainter;

namespace platform {

QColor systemColor(int index);
// The colour of a brush handle, or of a system colour given as COLOR_* + 1.
std::optional<QColor> brushColor(HBRUSH brush);
// The Qt font of a font handle; the default GUI font for null or unknown ones.
QFont fontOf(HFONT font);
HFONT createFontHandle(const QFont& font);
// A device context with nothing to draw on: it measures text in `font`.
HDC createMeasuringContext(HFONT font);
bool releaseDeviceContext(HDC dc);

// A device context over a painter, alive for the scope of one paint.
class ScopedDeviceContext {
public:
    // `recording` is the index of the entry of drawRecording() that receives
    // what is drawn, or -1.
    ScopedDeviceContext(QPainter& painter, HFONT font, long recording);
    ~ScopedDeviceContext();
    ScopedDeviceContext(const ScopedDeviceContext&) = delete;
    ScopedDeviceContext& operator=(const ScopedDeviceContext&) = delete;
    HDC handle() const { return handle_; }

private:
    HDC handle_;
};

}  // namespace platform

#endif
