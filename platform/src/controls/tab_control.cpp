// The "SysTabControl32" control: one row of tabs above a panel. The pages are
// the application's own windows; the control only tells its parent, through
// WM_NOTIFY, when the user picks another tab.
#include <commctrl.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabBar>
#include <QWidget>
#include <algorithm>
#include <cstring>

#include "ansi_text.h"
#include "controls/control_test_access.h"
#include "gdi/gdi.h"
#include "windows/predefined_classes.h"
#include "windows/window.h"

namespace platform {

namespace {

// The panel's border, and the height of the row of tabs, used alike by
// TCM_ADJUSTRECT and by the drawing so that pages line up with the panel.
constexpr int panelBorder = 4;
constexpr int tabRowHeight = 23;

struct Tab {
    std::string text;
    int image = -1;
    LPARAM param = 0;
};

struct TabControl : ControlState, TabClickTarget {
    HWND handle = nullptr;
    std::vector<Tab> tabs;
    int selected = -1;
    QTabBar* bar = nullptr;

    int count() const { return static_cast<int>(tabs.size()); }
    void layout(Window& window) override {
        bar->setGeometry(panelBorder / 2, 0, std::max(0, window.client->width() - panelBorder),
                         tabRowHeight);
    }
    void fontChanged(Window& window) override { bar->setFont(fontOf(window.font)); }
    bool clickTab(int index) override;
    void rebuildBar() {
        const QSignalBlocker blocker(bar);
        while (bar->count() > 0) {
            bar->removeTab(0);
        }
        for (const Tab& tab : tabs) {
            bar->addTab(fromAnsi(tab.text));
        }
        bar->setCurrentIndex(selected);
        bar->setVisible(!tabs.empty());
    }
};

TabControl* tabsOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<TabControl*>(window->control.get()) : nullptr;
}

LRESULT notifyParent(HWND handle, UINT code) {
    const Window* window = findWindow(handle);
    if (!window) {
        return 0;
    }
    NMHDR header{handle, static_cast<UINT_PTR>(window->id), code};
    return SendMessageA(window->parent, WM_NOTIFY, static_cast<WPARAM>(window->id),
                        reinterpret_cast<LPARAM>(&header));
}

// A click on another tab asks the parent first (TCN_SELCHANGING), then
// selects it and tells (TCN_SELCHANGE), as the Win32 control does.
void userPicks(HWND handle, int index) {
    TabControl* tabs = tabsOf(handle);
    if (!tabs || index < 0 || index >= tabs->count() || index == tabs->selected) {
        return;
    }
    if (notifyParent(handle, TCN_SELCHANGING)) {
        return;
    }
    tabs = tabsOf(handle);
    if (!tabs || index >= tabs->count()) {
        return;
    }
    tabs->selected = index;
    tabs->rebuildBar();
    notifyParent(handle, TCN_SELCHANGE);
}

class TabClicks : public QObject {
public:
    TabClicks(HWND handle, QTabBar* bar) : QObject(bar), handle_(handle), bar_(bar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                userPicks(handle_, bar_->tabAt(mouse->position().toPoint()));
            }
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::Wheel) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    HWND handle_;
    QTabBar* bar_;
};

// The panel under the tabs.
class TabPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), systemColor(COLOR_BTNFACE));
        painter.setPen(systemColor(COLOR_WINDOWFRAME));
        painter.drawRect(rect().adjusted(0, tabRowHeight - 1, -1, -1));
    }
};

void createTabControl(Window& window, QWidget* content) {
    auto tabs = std::make_unique<TabControl>();
    tabs->handle = window.handle;
    window.client = new TabPanel(content);
    tabs->bar = new QTabBar(window.client);
    tabs->bar->setFocusPolicy(Qt::NoFocus);
    tabs->bar->setExpanding(false);
    tabs->bar->setDrawBase(false);
    tabs->bar->installEventFilter(new TabClicks(window.handle, tabs->bar));
    tabs->bar->hide();
    window.control = std::move(tabs);
}

void adjustRect(const TabControl& tabs, bool toWindow, RECT& rect) {
    const int row = tabs.tabs.empty() ? 0 : tabRowHeight;
    const int sign = toWindow ? -1 : 1;
    rect.left += sign * panelBorder;
    rect.top += sign * (panelBorder + row);
    rect.right -= sign * panelBorder;
    rect.bottom -= sign * panelBorder;
}

void fillItem(const Tab& tab, TCITEMA& item) {
    if ((item.mask & TCIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::size_t length =
            std::min(tab.text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        tab.text.copy(item.pszText, length);
        item.pszText[length] = '\0';
    }
    if (item.mask & TCIF_IMAGE) {
        item.iImage = tab.image;
    }
    if (item.mask & TCIF_PARAM) {
        item.lParam = tab.param;
    }
}

void applyItem(const TCITEMA& item, Tab& tab) {
    if ((item.mask & TCIF_TEXT) && item.pszText) {
        tab.text = item.pszText;
    }
    if (item.mask & TCIF_IMAGE) {
        tab.image = item.iImage;
    }
    if (item.mask & TCIF_PARAM) {
        tab.param = item.lParam;
    }
}

bool TabControl::clickTab(int index) {
    if (index < 0 || index >= count()) {
        return false;
    }
    const QPoint at = bar->tabRect(index).center();
    if (bar->tabAt(at) != index) {
        // The row is not laid out (its window is hidden): the pick goes the same way.
        userPicks(handle, index);
        return true;
    }
    QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &press);
    return true;
}

LRESULT CALLBACK tabControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    TabControl* tabs = tabsOf(handle);
    if (!tabs) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    const auto index = static_cast<int>(wParam);
    const bool valid = index >= 0 && index < tabs->count();
    switch (message) {
        case TCM_INSERTITEMA: {
            const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
            if (!item || index < 0) {
                return -1;
            }
            const int at = std::min(index, tabs->count());
            Tab tab;
            applyItem(*item, tab);
            tabs->tabs.insert(tabs->tabs.begin() + at, tab);
            if (tabs->selected < 0) {
                tabs->selected = 0;
            } else if (at <= tabs->selected) {
                ++tabs->selected;
            }
            tabs->rebuildBar();
            return at;
        }
        case TCM_GETITEMA:
            if (!valid || !lParam) {
                return FALSE;
            }
            fillItem(tabs->tabs[static_cast<std::size_t>(index)],
                     *reinterpret_cast<TCITEMA*>(lParam));
            return TRUE;
        case TCM_GETITEMCOUNT:
            return tabs->count();
        case TCM_GETCURSEL:
            return tabs->selected;
        case TCM_SETCURSEL: {
            if (!valid) {
                return -1;
            }
            const int previous = tabs->selected;
            tabs->selected = index;
            tabs->rebuildBar();
            return previous;
        }
        case TCM_ADJUSTRECT:
            if (lParam) {
                adjustRect(*tabs, wParam != FALSE, *reinterpret_cast<RECT*>(lParam));
            }
            return 0;
        // A click sent by a program picks the tab under it, as a user's does.
        case WM_LBUTTONDOWN: {
            const QPoint at(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            userPicks(handle, tabs->bar->tabAt(at - tabs->bar->pos()));
            return 0;
        }
        case TCM_GETITEMRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (!valid || !rect) {
                return FALSE;
            }
            const QRect tab = tabs->bar->tabRect(index).translated(tabs->bar->pos());
            *rect = RECT{tab.left(), tab.top(), tab.left() + tab.width(), tab.top() + tab.height()};
            return TRUE;
        }
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace

void registerTabControlClass() {
    registerPredefinedClass(WC_TABCONTROLA, tabControlProc, createTabControl, nullptr);
}

}  // namespace platform
