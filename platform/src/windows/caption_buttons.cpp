#include "windows/caption_buttons.h"

#include <QPainter>

#include "gdi/gdi.h"
#include "resources/resources.h"

namespace platform {

namespace {

// Win32 leaves a small gap between the close button and the others.
constexpr int closeButtonGap = 2;
// The bevel of a raised button.
const QColor bevelLight(255, 255, 255);
const QColor bevelShadow(160, 160, 160);

void paintGlyph(QPainter& painter, CaptionButton button, const QRect& box) {
    const int x = box.x();
    const int y = box.y();
    switch (button) {
        case CaptionButton::Minimize:
            painter.fillRect(x + 4, y + 9, 6, 2, Qt::black);
            break;
        case CaptionButton::Maximize:
            painter.drawRect(x + 3, y + 2, 9, 8);
            painter.fillRect(x + 3, y + 2, 10, 2, Qt::black);
            break;
        case CaptionButton::Restore:
            painter.drawRect(x + 6, y + 1, 6, 5);
            painter.fillRect(x + 6, y + 1, 7, 2, Qt::black);
            painter.fillRect(x + 3, y + 4, 7, 7, systemColor(COLOR_BTNFACE));
            painter.drawRect(x + 3, y + 4, 6, 6);
            painter.fillRect(x + 3, y + 4, 7, 2, Qt::black);
            break;
        case CaptionButton::Close:
            painter.drawLine(x + 4, y + 3, x + 11, y + 10);
            painter.drawLine(x + 5, y + 3, x + 12, y + 10);
            painter.drawLine(x + 11, y + 3, x + 4, y + 10);
            painter.drawLine(x + 12, y + 3, x + 5, y + 10);
            break;
    }
}

}  // namespace

std::vector<PlacedCaptionButton> placeCaptionButtons(DWORD style, int right, int top) {
    std::vector<CaptionButton> kinds;
    if (style & WS_MINIMIZEBOX) {
        kinds.push_back(style & WS_MINIMIZE ? CaptionButton::Restore : CaptionButton::Minimize);
    }
    if (style & WS_MAXIMIZEBOX) {
        kinds.push_back(style & WS_MAXIMIZE ? CaptionButton::Restore : CaptionButton::Maximize);
    }
    kinds.push_back(CaptionButton::Close);
    std::vector<PlacedCaptionButton> placed(kinds.size());
    int x = right;
    for (std::size_t i = kinds.size(); i-- > 0;) {
        x -= captionButtonWidth;
        placed[i] = {kinds[i], QRect(x, top, captionButtonWidth, captionButtonHeight)};
        if (kinds[i] == CaptionButton::Close) {
            x -= closeButtonGap;
        }
    }
    return placed;
}

std::optional<CaptionButton> captionButtonAt(const std::vector<PlacedCaptionButton>& buttons,
                                             QPoint at) {
    for (const auto& [button, box] : buttons) {
        if (box.contains(at)) {
            return button;
        }
    }
    return std::nullopt;
}

void paintCaptionButton(QPainter& painter, CaptionButton button, const QRect& box, bool down) {
    painter.save();
    painter.fillRect(box, systemColor(COLOR_BTNFACE));
    painter.setPen(down ? bevelShadow : bevelLight);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(down ? bevelLight : Qt::black);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
    painter.setPen(Qt::black);
    paintGlyph(painter, button, down ? box.translated(1, 1) : box);
    painter.restore();
}

UINT commandOf(CaptionButton button) {
    switch (button) {
        case CaptionButton::Minimize:
            return SC_MINIMIZE;
        case CaptionButton::Maximize:
            return SC_MAXIMIZE;
        case CaptionButton::Restore:
            return SC_RESTORE;
        case CaptionButton::Close:
            return SC_CLOSE;
    }
    return SC_CLOSE;
}

void paintSmallIcon(QPainter& painter, const QRect& rect, HICON classIcon) {
    const HICON icon = classIcon ? classIcon : LoadIconA(nullptr, IDI_APPLICATION);
    iconOf(icon).paint(&painter, rect);
}

}  // namespace platform
