// The Qt widget of every window: it draws the non-client frame (border, or the
// caption of a document window inside an MDI client), holds the menu bar of a
// top-level window and the client area, and turns user input on the frame
// (resizing, the caption buttons, dragging the caption) into window messages.
#ifndef ZARN_PLATFORM_WINDOW_WIDGET_H
#define ZARN_PLATFORM_WINDOW_WIDGET_H

#include <windows.h>

#include <QMargins>
#include <QWidget>
#include <optional>
#include <vector>

#include "windows/caption_buttons.h"

class QMenuBar;

namespace platform {

// Non-client metrics of the stand-in's own frames.
constexpr int borderWidth = 1;
constexpr int clientEdgeWidth = 2;
constexpr int frameWidth = 4;
constexpr int captionHeight = 20;
// A minimised document: a caption bar this wide.
constexpr int minimizedWidth = 160;
constexpr int minimizedHeight = captionHeight + 2 * frameWidth;

class WindowWidget : public QWidget {
public:
    WindowWidget(HWND handle, DWORD style, DWORD exStyle, QWidget* parent);

    HWND handle() const { return handle_; }
    void setMenuBar(QMenuBar* menuBar);
    QMenuBar* menuBar() const { return menuBar_; }
    QMargins nonClientMargins() const;
    // Where the client area goes: inside the margins, or nowhere (0 x 0) while
    // the window is minimised.
    QRect contentRect() const;
    // The buttons of the caption, if it has one, in this widget's coordinates.
    std::vector<PlacedCaptionButton> captionButtons() const;
    QRect titleRect() const;
    void setActiveCaption(bool active);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Move, Resize };

    bool hasCaption() const;
    // The style as it is now, WS_MINIMIZE and WS_MAXIMIZE included.
    DWORD currentStyle() const;
    QRect captionRect() const;
    QRect iconRect() const;
    void paintCaption(QPainter& painter);
    HWND handle_;
    DWORD style_;
    DWORD exStyle_;
    QMenuBar* menuBar_ = nullptr;
    bool activeCaption_ = false;
    Drag drag_ = Drag::None;
    QPoint dragStart_;
    QRect geometryAtDragStart_;
    std::optional<CaptionButton> pressedButton_;
};

// The client area of an ordinary window: painted with its class's background
// brush, if it has one.
class ClientArea : public QWidget {
public:
    ClientArea(HWND handle, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    HWND handle_;
};

}  // namespace platform

#endif
