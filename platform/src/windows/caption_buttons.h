// The buttons at the right of a caption (minimise, maximise or restore, close):
// where they go, how they look and what a click on one sends.
#ifndef ZARN_PLATFORM_CAPTION_BUTTONS_H
#define ZARN_PLATFORM_CAPTION_BUTTONS_H

#include <win32_test.h>
#include <windows.h>

#include <QRect>
#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QWidget;

namespace platform {

using CaptionButton = win32test::CaptionButton;
using PlacedCaptionButton = std::pair<CaptionButton, QRect>;

constexpr int captionButtonWidth = 16;
constexpr int captionButtonHeight = 14;

// The buttons a window of this style shows, left to right, the last one
// ending at `right`: a minimised window offers restore, a maximised one
// restore in place of maximise.
std::vector<PlacedCaptionButton> placeCaptionButtons(DWORD style, int right, int top);
std::optional<CaptionButton> captionButtonAt(const std::vector<PlacedCaptionButton>& buttons,
                                             QPoint at);
void paintCaptionButton(QPainter& painter, CaptionButton button, const QRect& rect, bool down);
// The WM_SYSCOMMAND that a click on the button sends.
UINT commandOf(CaptionButton button);
// The class icon, or the system's application icon for a class without one.
void paintSmallIcon(QPainter& painter, const QRect& rect, HICON classIcon);

}  // namespace platform

#endif
