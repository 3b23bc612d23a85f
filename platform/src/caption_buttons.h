// The buttons at the right of a caption (minimise, maximise or restore, close)
// and their copy at the right of the frame's menu bar while a document is
// maximised, with the document's icon at the left of that menu bar.
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

constexpr int kCaptionButtonWidth = 16;
constexpr int kCaptionButtonHeight = 14;

// The buttons a window of this style shows, left to right, the last one
// ending at `right`: a minimised window offers restore, a maximised one
// restore in place of maximise.
std::vector<PlacedCaptionButton> placeCaptionButtons(DWORD style, int right, int top);
std::optional<CaptionButton> captionButtonAt(const std::vector<PlacedCaptionButton>& buttons,
                                             QPoint at);
void paintCaptionButton(QPainter& painter, CaptionButton button, const QRect& rect, bool down);
// The WM_SYSCOMMAND that a click on the button sends.
UINT commandOf(CaptionButton button);
void paintSmallIcon(QPainter& painter, const QRect& rect, HWND window);

// Shows `document`'s icon and buttons on its frame's menu bar, or takes them
// away when `document` is null.
void showMaximizedControls(HWND frame, HWND document);
// Where a click on the button of the maximised `document` lands: the widget
// on the frame's menu bar and the point in it.
std::optional<std::pair<QWidget*, QPoint>> maximizedButtonPosition(HWND frame, HWND document,
                                                                   CaptionButton button);

}  // namespace platform

#endif
