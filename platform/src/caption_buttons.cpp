#include "caption_buttons.h"

#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "gdi.h"
#include "resources.h"
#include "window.h"
#include "window_widget.h"

namespace platform {

namespace {

// Win32 leaves a small gap between the close button and the others.
constexpr int kCloseButtonGap = 2;
constexpr int kMenuBarMargin = 2;
// The bevel of a raised button.
const QColor kBevelLight(255, 255, 255);
const QColor kBevelShadow(160, 160, 160);

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

// The icon and buttons of the maximised document, on the frame's menu bar.
class MaximizedIcon : public QWidget {
public:
    explicit MaximizedIcon(HWND document) : document_(document) {}
    // The menu bar places its corner widgets by their size hints; one pixel
    // above and below the icon keeps the bar's usual height.
    QSize sizeHint() const override {
        return QSize(kCaptionButtonWidth + 2 * kMenuBarMargin, kCaptionButtonWidth + 2);
    }
    void setDocument(HWND document) {
        document_ = document;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintSmallIcon(painter,
                       rect().marginsRemoved(QMargins(kMenuBarMargin, 1, kMenuBarMargin, 1)),
                       document_);
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
        size_ = QSize(span + 2 * kMenuBarMargin, kCaptionButtonHeight + 2 * kMenuBarMargin);
        resize(size_);
        update();
    }
    QSize sizeHint() const override { return size_; }
    std::vector<PlacedCaptionButton> buttons() const {
        return placeCaptionButtons(styleOfDocument(), width() - kMenuBarMargin, kMenuBarMargin);
    }
    HWND document() const { return document_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (const auto& [button, box] : buttons())
            paintCaptionButton(painter, button, box, pressed_ == button);
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
        if (pressed && pressed == released)
            sendMessage(document_, WM_SYSCOMMAND, commandOf(*released), 0);
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
    if (!widget)
        return;
    bar.setCornerWidget(nullptr, corner);
    widget->hide();
    // A click on one of its buttons may be what takes it away.
    widget->deleteLater();
}

}  // namespace

std::vector<PlacedCaptionButton> placeCaptionButtons(DWORD style, int right, int top) {
    std::vector<CaptionButton> kinds;
    if (style & WS_MINIMIZEBOX)
        kinds.push_back(style & WS_MINIMIZE ? CaptionButton::Restore : CaptionButton::Minimize);
    if (style & WS_MAXIMIZEBOX)
        kinds.push_back(style & WS_MAXIMIZE ? CaptionButton::Restore : CaptionButton::Maximize);
    kinds.push_back(CaptionButton::Close);
    std::vector<PlacedCaptionButton> placed(kinds.size());
    int x = right;
    for (std::size_t i = kinds.size(); i-- > 0;) {
        x -= kCaptionButtonWidth;
        placed[i] = {kinds[i], QRect(x, top, kCaptionButtonWidth, kCaptionButtonHeight)};
        if (kinds[i] == CaptionButton::Close)
            x -= kCloseButtonGap;
    }
    return placed;
}

std::optional<CaptionButton> captionButtonAt(const std::vector<PlacedCaptionButton>& buttons,
                                             QPoint at) {
    for (const auto& [button, box] : buttons) {
        if (box.contains(at))
            return button;
    }
    return std::nullopt;
}

void paintCaptionButton(QPainter& painter, CaptionButton button, const QRect& box, bool down) {
    painter.save();
    painter.fillRect(box, systemColor(COLOR_BTNFACE));
    painter.setPen(down ? kBevelShadow : kBevelLight);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(down ? kBevelLight : Qt::black);
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

void paintSmallIcon(QPainter& painter, const QRect& rect, HWND handle) {
    const Window* window = findWindow(handle);
    if (!window)
        return;
    const HICON icon =
        window->windowClass->icon ? window->windowClass->icon : LoadIconA(nullptr, IDI_APPLICATION);
    iconOf(icon).paint(&painter, rect);
}

void showMaximizedControls(HWND frame, HWND document) {
    QMenuBar* bar = menuBarOf(frame);
    if (!bar)
        return;
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
    if (!buttons || buttons->document() != document || !buttons->isVisible())
        return std::nullopt;
    for (const auto& [kind, box] : buttons->buttons()) {
        if (kind == button)
            return std::make_pair(static_cast<QWidget*>(buttons), box.center());
    }
    return std::nullopt;
}

}  // namespace platform
