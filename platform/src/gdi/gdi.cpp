#include "gdi/gdi.h"

#include <commctrl.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <memory>

#include "ansi_text.h"
#include "handle_table.h"
#include "test_mode/test_mode.h"

namespace platform {

namespace {

// CreateFontA with height 0 asks for the system's default size; this pixel size
// gives DejaVu Sans Mono cells of 16 x 8 pixels, as the Win32 default has.
constexpr int defaultFontPixelSize = 14;
constexpr int systemColorCount = 31;

struct GdiObject {
    enum class Type { Font, Brush, Pen } type;
    QFont font;
    QColor color;
    int penWidth = 1;
    bool hollow = false;
    bool stock = false;
};

struct DeviceContext {
    QPainter* painter = nullptr;
    HFONT font = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    QPoint position;
    long recording = -1;
};

HandleTable<GdiObject, HGDIOBJ>& objects() {
    static HandleTable<GdiObject, HGDIOBJ> table(0x40000);
    return table;
}

HandleTable<DeviceContext, HDC>& deviceContexts() {
    static HandleTable<DeviceContext, HDC> table(0x50000);
    return table;
}

GdiObject* findObject(HGDIOBJ handle, GdiObject::Type type) {
    GdiObject* object = objects().find(handle);
    return object && object->type == type ? object : nullptr;
}

QColor colorOf(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

HGDIOBJ addObject(GdiObject object) {
    return objects().add(std::make_unique<GdiObject>(std::move(object)));
}

QFont defaultGuiFont() {
    return QApplication::font();
}

QFont fixedFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

int pixelSizeForCellHeight(QFont font, int cellHeight) {
    for (int size = cellHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight) {
            return size;
        }
    }
    return 1;
}

long averageCharWidth(const QFont& font) {
    const QFontMetrics metrics(font);
    return font.fixedPitch() ? metrics.horizontalAdvance(QLatin1Char('x'))
                             : metrics.averageCharWidth();
}

DeviceContext* findDc(HDC dc) {
    return deviceContexts().find(dc);
}

win32test::DrawCall* recordingOf(const DeviceContext& dc) {
    std::vector<win32test::DrawCall>* calls = drawRecording();
    if (!calls || dc.recording < 0 || static_cast<std::size_t>(dc.recording) >= calls->size()) {
        return nullptr;
    }
    return &(*calls)[static_cast<std::size_t>(dc.recording)];
}

QPen penOf(const DeviceContext& dc) {
    const GdiObject* pen = findObject(dc.pen, GdiObject::Type::Pen);
    if (!pen) {
        return QPen(Qt::black, 1);
    }
    if (pen->hollow) {
        return QPen(Qt::NoPen);
    }
    return QPen(pen->color, std::max(1, pen->penWidth));
}

// The object of each type that a device context starts with, which
// SelectObject gives back when it replaces it: the system font, a black pen and
// a white brush. Kept for the program's life, as Win32's stock objects.
HGDIOBJ defaultObject(GdiObject::Type type) {
    static std::array<HGDIOBJ, 3> defaults{};
    HGDIOBJ& handle = defaults[static_cast<std::size_t>(type)];
    if (!handle) {
        GdiObject object{type, {}, {}, 1, false, true};
        if (type == GdiObject::Type::Font) {
            object.font = defaultGuiFont();
        } else {
            object.color = type == GdiObject::Type::Pen ? Qt::black : Qt::white;
        }
        handle = addObject(object);
    }
    return handle;
}

}  // namespace

QColor systemColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return QColor(255, 255, 255);
        case COLOR_APPWORKSPACE:
            return QColor(171, 171, 171);
        case COLOR_BTNFACE:
        case COLOR_MENU:
            return QColor(240, 240, 240);
        case COLOR_ACTIVECAPTION:
            return QColor(153, 180, 209);
        case COLOR_INACTIVECAPTION:
            return QColor(191, 205, 219);
        case COLOR_HIGHLIGHT:
            return QColor(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT:
            return QColor(255, 255, 255);
        case COLOR_WINDOWFRAME:
            return QColor(100, 100, 100);
        case COLOR_SCROLLBAR:
            return QColor(200, 200, 200);
        default:
            return QColor(0, 0, 0);
    }
}

std::optional<QColor> brushColor(HBRUSH brush) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value == 0) {
        return std::nullopt;
    }
    if (value <= systemColorCount) {
        return systemColor(static_cast<int>(value) - 1);
    }
    const GdiObject* object = findObject(brush, GdiObject::Type::Brush);
    if (!object || object->hollow) {
        return std::nullopt;
    }
    return object->color;
}

QFont fontOf(HFONT font) {
    const GdiObject* object = findObject(font, GdiObject::Type::Font);
    return object ? object->font : defaultGuiFont();
}

HFONT createFontHandle(const QFont& font) {
    return static_cast<HFONT>(
        addObject(GdiObject{GdiObject::Type::Font, font, {}, 1, false, false}));
}

ScopedDeviceContext::ScopedDeviceContext(QPainter& painter, HFONT font, long recording) {
    auto dc = std::make_unique<DeviceContext>();
    dc->painter = &painter;
    dc->font = font;
    dc->recording = recording;
    handle_ = deviceContexts().add(std::move(dc));
}

ScopedDeviceContext::~ScopedDeviceContext() {
    deviceContexts().remove(handle_);
}

HDC createMeasuringContext(HFONT font) {
    auto dc = std::make_unique<DeviceContext>();
    dc->font = font;
    return deviceContexts().add(std::move(dc));
}

bool releaseDeviceContext(HDC dc) {
    return deviceContexts().remove(dc) != nullptr;
}

}  // namespace platform

using namespace platform;

HFONT WINAPI CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD underline,
                         DWORD strikeOut, DWORD, DWORD, DWORD, DWORD, DWORD pitchAndFamily,
                         LPCSTR faceName) {
    const bool fixed =
        (pitchAndFamily & 0x3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN;
    QFont font;
    if (faceName && *faceName) {
        font = QFont(fromAnsi(faceName));
        font.setStyleHint(fixed ? QFont::TypeWriter : QFont::AnyStyle);
        font.setFixedPitch(fixed);
    } else if (fixed) {
        font = fixedFont(defaultFontPixelSize);
    } else {
        font = QFont((pitchAndFamily & 0xF0) == FF_ROMAN ? QStringLiteral("DejaVu Serif")
                                                         : QStringLiteral("DejaVu Sans"));
    }
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        font.setPixelSize(pixelSizeForCellHeight(font, height));
    } else {
        font.setPixelSize(defaultFontPixelSize);
    }
    if (weight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    }
    font.setItalic(italic != 0);
    font.setUnderline(underline != 0);
    font.setStrikeOut(strikeOut != 0);
    return createFontHandle(font);
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) {
        return nullptr;
    }
    GdiObject object{GdiObject::Type::Brush,    {},   colorOf(brush->lbColor), 1,
                     brush->lbStyle == BS_NULL, false};
    return static_cast<HBRUSH>(addObject(object));
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    const GdiObject* object = objects().find(handle);
    if (!object) {
        return FALSE;
    }
    if (!object->stock) {
        objects().remove(handle);
    }
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dcHandle, HGDIOBJ handle) {
    DeviceContext* dc = findDc(dcHandle);
    const GdiObject* object = objects().find(handle);
    if (!dc || !object) {
        return nullptr;
    }
    HGDIOBJ previous = nullptr;
    switch (object->type) {
        case GdiObject::Type::Font:
            previous = dc->font;
            dc->font = static_cast<HFONT>(handle);
            break;
        case GdiObject::Type::Pen:
            previous = dc->pen;
            dc->pen = static_cast<HPEN>(handle);
            break;
        case GdiObject::Type::Brush:
            previous = dc->brush;
            dc->brush = static_cast<HBRUSH>(handle);
            break;
    }
    return previous ? previous : defaultObject(object->type);
}

BOOL WINAPI GetTextMetricsA(HDC dcHandle, LPTEXTMETRICA metrics) {
    const DeviceContext* dc = findDc(dcHandle);
    if (!dc || !metrics) {
        return FALSE;
    }
    const QFont font = fontOf(dc->font);
    const QFontMetrics fontMetrics(font);
    *metrics = TEXTMETRICA{};
    metrics->tmAscent = fontMetrics.ascent();
    metrics->tmDescent = fontMetrics.descent();
    metrics->tmHeight = metrics->tmAscent + metrics->tmDescent;
    metrics->tmExternalLeading = fontMetrics.leading();
    metrics->tmAveCharWidth = averageCharWidth(font);
    metrics->tmMaxCharWidth = fontMetrics.maxWidth();
    metrics->tmWeight = font.weight();
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = '?';
    metrics->tmBreakChar = ' ';
    metrics->tmItalic = font.italic() ? 0xFF : 0;
    metrics->tmUnderlined = font.underline() ? 0xFF : 0;
    metrics->tmStruckOut = font.strikeOut() ? 0xFF : 0;
    // As in Win32, the low bit set means a variable-pitch font.
    metrics->tmPitchAndFamily = font.fixedPitch() ? FF_MODERN : (FF_SWISS | 0x1);
    metrics->tmCharSet = ANSI_CHARSET;
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dcHandle, int x, int y, LPCSTR text, int length) {
    const DeviceContext* dc = findDc(dcHandle);
    if (!dc || !text || length < 0) {
        return FALSE;
    }
    const std::string_view bytes(text, static_cast<std::size_t>(length));
    if (win32test::DrawCall* recording = recordingOf(*dc)) {
        recording->texts.push_back({x, y, std::string(bytes)});
    }
    if (!dc->painter) {
        return TRUE;
    }
    const QFont font = fontOf(dc->font);
    const QFontMetrics metrics(font);
    const QString shown = fromAnsi(bytes);
    const long cellWidth = averageCharWidth(font);
    const int width = font.fixedPitch() ? static_cast<int>(cellWidth * shown.size())
                                        : metrics.horizontalAdvance(shown);
    // A device context's own colours: black text on an opaque white background.
    dc->painter->fillRect(QRect(x, y, width, metrics.height()), Qt::white);
    dc->painter->setFont(font);
    dc->painter->setPen(Qt::black);
    const int baseline = y + metrics.ascent();
    if (font.fixedPitch()) {
        // Character cells of exactly the average width, as a fixed-pitch font has in GDI.
        for (qsizetype i = 0; i < shown.size(); ++i) {
            dc->painter->drawText(QPoint(x + static_cast<int>(i * cellWidth), baseline),
                                  QString(shown[i]));
        }
    } else {
        dc->painter->drawText(QPoint(x, baseline), shown);
    }
    return TRUE;
}

// Measured as TextOutA lays the text out: one cell per character in a fixed-pitch font.
BOOL WINAPI GetTextExtentPoint32A(HDC dcHandle, LPCSTR text, int length, LPSIZE size) {
    const DeviceContext* dc = findDc(dcHandle);
    if (!dc || !text || length < 0 || !size) {
        return FALSE;
    }
    const QFont font = fontOf(dc->font);
    const QFontMetrics metrics(font);
    const QString measured = fromAnsi(std::string_view(text, static_cast<std::size_t>(length)));
    size->cx = font.fixedPitch() ? averageCharWidth(font) * measured.size()
                                 : metrics.horizontalAdvance(measured);
    size->cy = metrics.ascent() + metrics.descent();
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC dcHandle, int x, int y, LPPOINT previous) {
    DeviceContext* dc = findDc(dcHandle);
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = POINT{dc->position.x(), dc->position.y()};
    }
    dc->position = QPoint(x, y);
    return TRUE;
}

BOOL WINAPI LineTo(HDC dcHandle, int x, int y) {
    DeviceContext* dc = findDc(dcHandle);
    if (!dc) {
        return FALSE;
    }
    const QPoint from = dc->position;
    const QPoint to(x, y);
    if (win32test::DrawCall* recording = recordingOf(*dc)) {
        recording->lines.push_back({from.x(), from.y(), to.x(), to.y()});
    }
    if (dc->painter && from != to) {
        // GDI lines leave out their last pixel.
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                          (to.y() > from.y()) - (to.y() < from.y()));
        dc->painter->setPen(penOf(*dc));
        dc->painter->drawLine(from, to - step);
    }
    dc->position = to;
    return TRUE;
}
