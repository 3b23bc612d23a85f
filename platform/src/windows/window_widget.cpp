#include "windows/window_widget.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

#include "ansi_text.h"
#include "gdi/gdi.h"
#include "windows/window.h"

namespace platform {

namespace {

constexpr int resizeGripSize = 8;

}  // namespace

WindowWidget::WindowWidget(HWND handle, DWORD style, DWORD exStyle, QWidget* parent)
    : QWidget(parent), handle_(handle), style_(style), exStyle_(exStyle) {}

bool WindowWidget::hasCaption() const {
    return (style_ & WS_CHILD) && (style_ & WS_CAPTION) == WS_CAPTION;
}

void WindowWidget::setMenuBar(QMenuBar* menuBar) {
    menuBar_ = menuBar;
}

QMargins WindowWidget::nonClientMargins() const {
    QMargins margins;
    if (style_ & WS_CHILD) {
        if (hasCaption()) {
            margins = QMargins(frameWidth, frameWidth + captionHeight, frameWidth, frameWidth);
        } else if (style_ & (WS_BORDER | WS_DLGFRAME)) {
            margins = QMargins(borderWidth, borderWidth, borderWidth, borderWidth);
        }
        if (exStyle_ & WS_EX_CLIENTEDGE) {
            margins += QMargins(clientEdgeWidth, clientEdgeWidth, clientEdgeWidth, clientEdgeWidth);
        }
    }
    if (menuBar_) {
        margins.setTop(margins.top() + menuBar_->sizeHint().height());
    }
    return margins;
}

QRect WindowWidget::contentRect() const {
    const QMargins margins = nonClientMargins();
    if (currentStyle() & WS_MINIMIZE) {
        return QRect(margins.left(), margins.top(), 0, 0);
    }
    return rect().marginsRemoved(margins);
}

DWORD WindowWidget::currentStyle() const {
    const Window* window = findWindow(handle_);
    return window ? window->style : style_;
}

QRect WindowWidget::captionRect() const {
    return QRect(frameWidth, frameWidth, width() - 2 * frameWidth, captionHeight);
}

QRect WindowWidget::iconRect() const {
    return QRect(frameWidth + 2, frameWidth + 2, captionHeight - 4, captionHeight - 4);
}

std::vector<PlacedCaptionButton> WindowWidget::captionButtons() const {
    if (!hasCaption()) {
        return {};
    }
    return placeCaptionButtons(currentStyle(), width() - frameWidth - 2,
                               frameWidth + (captionHeight - captionButtonHeight) / 2);
}

QRect WindowWidget::titleRect() const {
    if (!hasCaption()) {
        return {};
    }
    const std::vector<PlacedCaptionButton> buttons = captionButtons();
    QRect title = captionRect();
    title.setLeft(iconRect().right() + 4);
    if (!buttons.empty()) {
        title.setRight(buttons.front().second.left() - 2);
    }
    return title;
}

void WindowWidget::setActiveCaption(bool active) {
    activeCaption_ = active;
    update();
}

void WindowWidget::resizeEvent(QResizeEvent*) {
    if (Window* window = findWindow(handle_)) {
        layoutWindow(*window);
        reportGeometry(handle_);
    }
}

void WindowWidget::moveEvent(QMoveEvent*) {
    if (findWindow(handle_)) {
        reportGeometry(handle_);
    }
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The window goes only if its procedure agrees, through WM_CLOSE.
    event->ignore();
    sendMessage(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void WindowWidget::paintEvent(QPaintEvent*) {
    const QMargins margins = nonClientMargins();
    if (margins.isNull()) {
        return;
    }
    QPainter painter(this);
    if (hasCaption()) {
        paintCaption(painter);
        return;
    }
    painter.setPen(systemColor(COLOR_WINDOWFRAME));
    if (style_ & (WS_BORDER | WS_DLGFRAME)) {
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (exStyle_ & WS_EX_CLIENTEDGE) {
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WindowWidget::paintCaption(QPainter& painter) {
    painter.fillRect(rect(), systemColor(COLOR_BTNFACE));
    painter.setPen(systemColor(COLOR_WINDOWFRAME));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(captionRect(),
                     systemColor(activeCaption_ ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    const Window* window = findWindow(handle_);
    if (window) {
        paintSmallIcon(painter, iconRect(), window->windowClass->icon);
    }
    painter.setPen(systemColor(COLOR_CAPTIONTEXT));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QString title = window ? fromAnsi(window->text) : QString();
    painter.drawText(titleRect(), Qt::AlignVCenter | Qt::AlignLeft, title);
    for (const auto& [button, box] : captionButtons()) {
        paintCaptionButton(painter, button, box, pressedButton_ == button);
    }
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    if (!hasCaption() || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    // A caption button acts when the button is released over it, as on Win32.
    pressedButton_ = captionButtonAt(captionButtons(), at);
    if (pressedButton_) {
        update();
        return;
    }
    const DWORD style = currentStyle();
    if (style & WS_MAXIMIZE) {
        return;
    }
    dragStart_ = event->globalPosition().toPoint();
    geometryAtDragStart_ = geometry();
    if (!(style & WS_MINIMIZE) && at.x() >= width() - resizeGripSize &&
        at.y() >= height() - resizeGripSize) {
        drag_ = Drag::Resize;
    } else if (at.y() < frameWidth + captionHeight) {
        drag_ = Drag::Move;
    }
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::None) {
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - dragStart_;
    QRect target = geometryAtDragStart_;
    if (drag_ == Drag::Move) {
        target.translate(delta);
    } else {
        target.setSize(target.size() + QSize(delta.x(), delta.y()));
        target.setSize(
            target.size().expandedTo(QSize(3 * captionHeight, captionHeight + 2 * frameWidth)));
    }
    SetWindowPos(handle_, nullptr, target.x(), target.y(), target.width(), target.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    drag_ = Drag::None;
    const std::optional<CaptionButton> pressed = pressedButton_;
    if (!pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pressedButton_.reset();
    update();
    if (captionButtonAt(captionButtons(), event->position().toPoint()) == pressed) {
        sendMessage(handle_, WM_SYSCOMMAND, commandOf(*pressed), 0);
    }
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!hasCaption() || event->button() != Qt::LeftButton || !captionRect().contains(at) ||
        captionButtonAt(captionButtons(), at)) {
        mousePressEvent(event);
        return;
    }
    const DWORD style = currentStyle();
    if (iconRect().contains(at)) {
        sendMessage(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        sendMessage(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (style & WS_MAXIMIZEBOX) {
        sendMessage(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    }
}

ClientArea::ClientArea(HWND handle, QWidget* parent) : QWidget(parent), handle_(handle) {}

void ClientArea::paintEvent(QPaintEvent*) {
    const Window* window = findWindow(handle_);
    if (!window) {
        return;
    }
    if (const auto color = brushColor(window->windowClass->background)) {
        QPainter painter(this);
        painter.fillRect(rect(), *color);
    }
}

}  // namespace platform
