// The copy of a maximised document's caption buttons at the right of its
// frame's menu bar, with the document's icon at the left of that menu bar.
#ifndef ZARN_PLATFORM_MAXIMIZED_CONTROLS_H
#define ZARN_PLATFORM_MAXIMIZED_CONTROLS_H

#include <windows.h>

#include <QPoint>
#include <optional>
#include <utility>

#include "windows/caption_buttons.h"

class QWidget;

namespace platform {

// Shows `document`'s icon and buttons on its frame's menu bar, or takes them
// away when `document` is null.
void showMaximizedControls(HWND frame, HWND document);
// Where a click on the button of the maximised `document` lands: the widget
// on the frame's menu bar and the point in it.
std::optional<std::pair<QWidget*, QPoint>> maximizedButtonPosition(HWND frame, HWND document,
                                                                   CaptionButton button);

}  // namespace platform

#endif
