#include "windows/maximized_controls.h"

#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "windows/caption_buttons.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

constexpr int menuBarMargin = 2;

// The icon and buttons of the maximised document, on the frame's menu bar.
class MaximizedIcon : public QWidget {
public:
    explicit MaximizedIcon(HWND document) : document_(document) {}
    // The menu bar places its corner widgets by their size hints; one pixel
    // above and below the icon keeps the bar's usual height.
    QSize sizeHint() const override {
        return QSize(captionButtonWidth + 2 * menuBarMargin, captionButtonWidth + 2);
    }
    void setDocument(HWND document) {
        document_ = document;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const Window* window = findWindow(document_);
        if (!window) {
            return;
        }
        paintSmallIcon(painter, rect().marginsRemoved(QMargins(menuBarMargin, 1, menuBarMargin, 1)),
                       window->windowClass->icon);
    }
    // As on a caption, a double click on the icon closes the document.
    void mouseDoubleClickEvent(QMouseEvent*) override {
        sendMessage(document_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }

private:
    HWND document_;
};

class MaximizedButtons : public QWidget {
public:
    explicit MaximizedButtons(HWND document) { setDocument(document); }

    void setDocument(HWND document) {
        document_ = document;
        const std::vector<PlacedCaptionButton> placed =
            placeCaptionButtons(styleOfDocument(), 0, 0);
        const int span = placed.empty() ? 0 : -placed.front().second.left();
        size_ = QSize(span + 2 * menuBarMargin, captionButtonHeight + 2 * menuBarMargin);
        resize(size_);
        update();
    }
    QSize sizeHint() const override { return size_; }
    std::vector<PlacedCaptionButton> buttons() const {
        return placeCaptionButtons(styleOfDocument(), width() - menuBarMargin, menuBarMargin);
    }
    HWND document() const { return document_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (const auto& [button, box] : buttons()) {
            paintCaptionButton(painter, button, box, pressed_ == button);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = captionButtonAt(buttons(), event->position().toPoint());
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const std::optional<CaptionButton> pressed = pressed_;
        pressed_.reset();
        update();
        const std::optional<CaptionButton> released =
            captionButtonAt(buttons(), event->position().toPoint());
        if (pressed && pressed == released) {
            sendMessage(document_, WM_SYSCOMMAND, commandOf(*released), 0);
        }
    }

private:
    DWORD styleOfDocument() const {
        const Window* window = findWindow(document_);
        return (window ? window->style : WS_OVERLAPPEDWINDOW) | WS_MAXIMIZE;
    }
    HWND document_ = nullptr;
    QSize size_;
    std::optional<CaptionButton> pressed_;
};

QMenuBar* menuBarOf(HWND frame) {
    const Window* window = findWindow(frame);
    return window && window->widget ? window->widget->menuBar() : nullptr;
}

void removeCornerWidget(QMenuBar& bar, Qt::Corner corner) {
    QWidget* widget = bar.cornerWidget(corner);
    if (!widget) {
        return;
    }
    bar.setCornerWidget(nullptr, corner);
    widget->hide();
    // A click on one of its buttons may be what takes it away.
    widget->deleteLater();
}

}  // namespace

void showMaximizedControls(HWND frame, HWND document) {
    QMenuBar* bar = menuBarOf(frame);
    if (!bar) {
        return;
    }
    auto* icon = dynamic_cast<MaximizedIcon*>(bar->cornerWidget(Qt::TopLeftCorner));
    auto* buttons = dynamic_cast<MaximizedButtons*>(bar->cornerWidget(Qt::TopRightCorner));
    if (!document) {
        removeCornerWidget(*bar, Qt::TopLeftCorner);
        removeCornerWidget(*bar, Qt::TopRightCorner);
    } else if (icon && buttons) {
        icon->setDocument(document);
        buttons->setDocument(document);
    } else {
        bar->setCornerWidget(new MaximizedIcon(document), Qt::TopLeftCorner);
        bar->setCornerWidget(new MaximizedButtons(document), Qt::TopRightCorner);
        bar->cornerWidget(Qt::TopLeftCorner)->show();
        bar->cornerWidget(Qt::TopRightCorner)->show();
    }
    // The corner widgets may change the menu bar's height, and so the client area.
    if (Window* window = findWindow(frame)) {
        layoutWindow(*window);
        reportGeometry(frame);
    }
}

std::optional<std::pair<QWidget*, QPoint>> maximizedButtonPosition(HWND frame, HWND document,
                                                                   CaptionButton button) {
    QMenuBar* bar = menuBarOf(frame);
    auto* buttons =
        bar ? dynamic_cast<MaximizedButtons*>(bar->cornerWidget(Qt::TopRightCorner)) : nullptr;
    if (!buttons || buttons->document() != document || !buttons->isVisible()) {
        return std::nullopt;
    }
    for (const auto& [kind, box] : buttons->buttons()) {
        if (kind == button) {
            return std::make_pair(static_cast<QWidget*>(buttons), box.center());
        }
    }
    return std::nullopt;
}

}  // namespace platform
