// The "LISTBOX" control: a single-selection list of text lines with item data,
// painted by its owner when it is owner-drawn. Only the visible items are
// painted, so a list of a million lines stays responsive.
#include <strings.h>

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <set>

#include "ansi_text.h"
#include "controls/control_test_access.h"
#include "gdi/gdi.h"
#include "test_mode/test_mode.h"
#include "windows/predefined_classes.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

constexpr UINT presetItemHeight = 16;
constexpr UINT measureItemId = 0xFFFFFFFF;
constexpr int textIndent = 2;
constexpr int wheelLines = 3;

struct Item {
    std::string text;
    LPARAM data = 0;
};

class ListViewport;

struct ListBox : ControlState, ListReadBack {
    HWND handle = nullptr;
    std::vector<Item> items;
    int itemHeight = static_cast<int>(presetItemHeight);
    int top = 0;
    int selected = LB_ERR;
    std::set<int> selectionChanged;  // items to draw with ODA_SELECT at the next paint
    bool focusChanged = false;       // the caret item to draw with ODA_FOCUS at the next paint
    QWidget* content = nullptr;
    QScrollBar* scrollBar = nullptr;
    ListViewport* viewport = nullptr;

    bool ownerDrawn(const Window& window) const {
        return (window.style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    }
    int count() const { return static_cast<int>(items.size()); }
    bool valid(WPARAM index) const { return static_cast<std::size_t>(index) < items.size(); }
    int fullyVisibleCount() const;
    int maxTop() const { return std::max(0, count() - fullyVisibleCount()); }
    void layout(Window& window) override;
    void fontChanged(Window& window) override;
    std::vector<win32test::ListItem> lines() const override;
    int topIndex() const override { return top; }
    int visibleCount() const override;
    void setTop(int index);
    void setSelection(int index);
    void scrollIntoView(int index);
    void refresh();
};

ListBox* listOf(HWND handle);

// The list's client area. It finds its list through the handle at every event,
// so that a list already destroyed is never touched.
class ListViewport : public QWidget {
public:
    ListViewport(HWND handle, QWidget* parent) : QWidget(parent), handle_(handle) {
        // Only a click or SetFocus gives a list the focus, as in Win32: Qt
        // would otherwise hand it to the first list of a window that opens.
        setFocusPolicy(Qt::ClickFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void drawItem(QPainter& painter, const ListBox& list, const Window& window, int index,
                  UINT action, UINT state);
    HWND handle_;
};

ListBox* listOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<ListBox*>(window->control.get()) : nullptr;
}

int ListBox::fullyVisibleCount() const {
    const int height = viewport ? viewport->height() : 0;
    return std::max(1, height / std::max(1, itemHeight));
}

void ListBox::layout(Window& window) {
    const QRect area = content->rect();
    const bool wantsBar = (window.style & WS_VSCROLL) != 0;
    const bool needsBar = wantsBar && count() * itemHeight > area.height();
    const int barWidth = needsBar ? content->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    viewport->setGeometry(0, 0, std::max(0, area.width() - barWidth), area.height());
    scrollBar->setGeometry(area.width() - barWidth, 0, barWidth, area.height());
    scrollBar->setVisible(needsBar);
    scrollBar->setRange(0, maxTop());
    scrollBar->setPageStep(fullyVisibleCount());
    setTop(top);
}

// An owner-drawn list keeps the item height its owner measured.
void ListBox::fontChanged(Window& window) {
    if (ownerDrawn(window)) {
        return;
    }
    itemHeight = QFontMetrics(fontOf(window.font)).height();
    refresh();
}

std::vector<win32test::ListItem> ListBox::lines() const {
    std::vector<win32test::ListItem> result;
    for (const Item& item : items) {
        result.push_back({item.text, item.data});
    }
    return result;
}

int ListBox::visibleCount() const {
    const int height = std::max(1, itemHeight);
    return (viewport->height() + height - 1) / height;
}

void ListBox::setTop(int index) {
    top = std::clamp(index, 0, maxTop());
    if (scrollBar->value() != top) {
        scrollBar->setValue(top);
    }
    viewport->update();
}

void ListBox::setSelection(int index) {
    if (index == selected) {
        return;
    }
    if (selected >= 0) {
        selectionChanged.insert(selected);
    }
    if (index >= 0) {
        selectionChanged.insert(index);
    }
    selected = index;
    viewport->update();
}

void ListBox::scrollIntoView(int index) {
    if (index < top) {
        setTop(index);
    } else if (index >= top + fullyVisibleCount()) {
        setTop(index - fullyVisibleCount() + 1);
    }
}

void ListBox::refresh() {
    if (Window* window = findWindow(handle)) {
        layout(*window);
    }
}

void ListViewport::drawItem(QPainter& painter, const ListBox& list, const Window& window, int index,
                            UINT action, UINT state) {
    const QRect itemRect(0, (index - list.top) * list.itemHeight, width(), list.itemHeight);
    DRAWITEMSTRUCT draw{
        ODT_LISTBOX,
        static_cast<UINT>(window.id),
        static_cast<UINT>(index),
        action,
        state,
        window.handle,
        nullptr,
        RECT{itemRect.left(), itemRect.top(), itemRect.left() + itemRect.width(),
             itemRect.top() + itemRect.height()},
        index >= 0 ? static_cast<ULONG_PTR>(list.items[static_cast<std::size_t>(index)].data) : 0};
    if (index < 0) {
        draw.rcItem = RECT{0, 0, width(), list.itemHeight};
    }
    long recording = -1;
    if (std::vector<win32test::DrawCall>* calls = drawRecording()) {
        calls->push_back(
            win32test::DrawCall{window.handle, draw.itemID, action, state, draw.rcItem, 0, {}, {}});
        recording = static_cast<long>(calls->size() - 1);
    }
    painter.save();
    painter.setClipRect(index >= 0 ? itemRect : rect());
    const HWND owner = window.parent;
    LRESULT result = 0;
    {
        ScopedDeviceContext dc(painter, window.font, recording);
        draw.hDC = dc.handle();
        result = sendMessage(owner, WM_DRAWITEM, static_cast<WPARAM>(draw.CtlID),
                             reinterpret_cast<LPARAM>(&draw));
    }
    painter.restore();
    if (std::vector<win32test::DrawCall>* calls = drawRecording(); calls && recording >= 0) {
        (*calls)[static_cast<std::size_t>(recording)].result = result;
    }
}

void ListViewport::paintEvent(QPaintEvent*) {
    Window* window = findWindow(handle_);
    ListBox* list = listOf(handle_);
    if (!window || !list) {
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), systemColor(COLOR_WINDOW));
    const bool focused = GetFocus() == list->handle;
    const int first = list->top;
    const int last = std::min(list->count(), first + height() / std::max(1, list->itemHeight) + 1);
    if (!list->ownerDrawn(*window)) {
        painter.setFont(fontOf(window->font));
        for (int index = first; index < last; ++index) {
            const QRect itemRect(0, (index - first) * list->itemHeight, width(), list->itemHeight);
            const bool isSelected = index == list->selected;
            if (isSelected) {
                painter.fillRect(itemRect, systemColor(COLOR_HIGHLIGHT));
            }
            painter.setPen(systemColor(isSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            painter.drawText(itemRect.adjusted(textIndent, 0, 0, 0),
                             Qt::AlignVCenter | Qt::AlignLeft,
                             fromAnsi(list->items[static_cast<std::size_t>(index)].text));
        }
        list->selectionChanged.clear();
        list->focusChanged = false;
        return;
    }
    if (list->count() == 0) {
        if (focused) {
            drawItem(painter, *list, *window, -1, ODA_FOCUS, ODS_FOCUS);
        }
        list->selectionChanged.clear();
        list->focusChanged = false;
        return;
    }
    const std::set<int> changed = std::exchange(list->selectionChanged, {});
    const bool focusChanged = std::exchange(list->focusChanged, false);
    // The owner may change or destroy the list while it draws: every call
    // looks the list up again.
    const auto draw = [&](int index, UINT action, UINT state) {
        const Window* current = findWindow(handle_);
        const ListBox* alive = listOf(handle_);
        if (!current || !alive || index >= alive->count()) {
            return false;
        }
        drawItem(painter, *alive, *current, index, action, state);
        return true;
    };
    for (int index = first; index < last; ++index) {
        const bool isSelected = listOf(handle_) && index == listOf(handle_)->selected;
        const UINT state =
            (isSelected ? ODS_SELECTED : 0) | (focused && isSelected ? ODS_FOCUS : 0);
        if (changed.count(index) && !draw(index, ODA_SELECT, state)) {
            return;
        }
        if (focusChanged && isSelected && !draw(index, ODA_FOCUS, state)) {
            return;
        }
        if (!draw(index, ODA_DRAWENTIRE, state)) {
            return;
        }
    }
}

// A selection the user makes by click or key is told to a parent that asked
// with LBS_NOTIFY; one set by LB_SETCURSEL is not.
void notifySelectionChange(HWND handle) {
    const Window* window = findWindow(handle);
    if (window && (window->style & LBS_NOTIFY)) {
        sendMessage(window->parent, WM_COMMAND, MAKEWPARAM(window->id, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(window->handle));
    }
}

void ListViewport::mousePressEvent(QMouseEvent* event) {
    ListBox* list = listOf(handle_);
    if (!list) {
        return;
    }
    const int index =
        list->top + static_cast<int>(event->position().y()) / std::max(1, list->itemHeight);
    if (index < list->count()) {
        list->setSelection(index);
        list->scrollIntoView(index);
        notifySelectionChange(list->handle);
    }
    SetFocus(list->handle);
}

void ListViewport::keyPressEvent(QKeyEvent* event) {
    ListBox* list = listOf(handle_);
    if (!list) {
        return;
    }
    const int page = list->fullyVisibleCount();
    int target = list->selected;
    switch (event->key()) {
        case Qt::Key_Up:
            target = std::max(0, target - 1);
            break;
        case Qt::Key_Down:
            target = target + 1;
            break;
        case Qt::Key_PageUp:
            target = std::max(0, target - page);
            break;
        case Qt::Key_PageDown:
            target = target + page;
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = list->count() - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (list->count() == 0) {
        return;
    }
    target = std::clamp(target, 0, list->count() - 1);
    list->setSelection(target);
    list->scrollIntoView(target);
    notifySelectionChange(list->handle);
}

void ListViewport::wheelEvent(QWheelEvent* event) {
    ListBox* list = listOf(handle_);
    if (!list) {
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    list->setTop(list->top - steps * wheelLines);
}

void createListBox(Window& window, QWidget* content) {
    auto list = std::make_unique<ListBox>();
    list->handle = window.handle;
    list->content = content;
    list->viewport = new ListViewport(window.handle, content);
    list->scrollBar = new QScrollBar(Qt::Vertical, content);
    list->scrollBar->hide();
    const HWND handle = window.handle;
    QObject::connect(list->scrollBar, &QScrollBar::valueChanged, [handle](int value) {
        if (ListBox* scrolled = listOf(handle)) {
            scrolled->setTop(value);
        }
    });
    window.client = list->viewport;
    window.control = std::move(list);
}

LRESULT insertItem(ListBox& list, const Window& window, WPARAM position, LPARAM lParam) {
    const bool hasStrings = !list.ownerDrawn(window) || (window.style & LBS_HASSTRINGS);
    Item item;
    if (hasStrings) {
        const char* text = reinterpret_cast<const char*>(lParam);
        item.text = text ? text : "";
    } else {
        item.data = lParam;
    }
    int index = static_cast<int>(position);
    if (index < 0 || index > list.count()) {
        if (index >= 0) {
            return LB_ERR;
        }
        index = list.count();
    }
    list.items.insert(list.items.begin() + index, std::move(item));
    if (list.selected >= index) {
        ++list.selected;
    }
    list.refresh();
    return index;
}

LRESULT addItem(ListBox& list, const Window& window, LPARAM lParam) {
    int position = list.count();
    const bool sorted =
        (window.style & LBS_SORT) && (!list.ownerDrawn(window) || (window.style & LBS_HASSTRINGS));
    if (sorted && lParam) {
        const std::string text = reinterpret_cast<const char*>(lParam);
        const auto place =
            std::upper_bound(list.items.begin(), list.items.end(), text,
                             [](const std::string& key, const Item& item) {
                                 return strcasecmp(key.c_str(), item.text.c_str()) < 0;
                             });
        position = static_cast<int>(place - list.items.begin());
    }
    return insertItem(list, window, static_cast<WPARAM>(position), lParam);
}

LRESULT CALLBACK listBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(handle);
    ListBox* list = listOf(handle);
    if (!window || !list) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
        case WM_CREATE:
            if (list->ownerDrawn(*window)) {
                MEASUREITEMSTRUCT measure{
                    ODT_LISTBOX,      static_cast<UINT>(window->id),
                    measureItemId,    static_cast<UINT>(clientSize(*window).width()),
                    presetItemHeight, 0};
                sendMessage(window->parent, WM_MEASUREITEM, static_cast<WPARAM>(window->id),
                            reinterpret_cast<LPARAM>(&measure));
                if ((list = listOf(handle))) {
                    list->itemHeight = std::max(1, static_cast<int>(measure.itemHeight));
                }
            } else {
                list->itemHeight = QFontMetrics(fontOf(window->font)).height();
            }
            if (list) {
                list->refresh();
            }
            return 0;
        case LB_ADDSTRING:
            return addItem(*list, *window, lParam);
        case LB_INSERTSTRING:
            return insertItem(*list, *window, wParam, lParam);
        case LB_RESETCONTENT:
            list->items.clear();
            list->selected = LB_ERR;
            list->selectionChanged.clear();
            list->top = 0;
            list->refresh();
            return 0;
        case LB_GETCOUNT:
            return list->count();
        case LB_SETITEMDATA:
            // Index -1 stands for every item, as Win32's documentation says.
            if (static_cast<int>(wParam) == -1) {
                for (auto& item : list->items) {
                    item.data = lParam;
                }
                return 0;
            }
            if (!list->valid(wParam)) {
                return LB_ERR;
            }
            list->items[wParam].data = lParam;
            return 0;
        case LB_GETITEMDATA:
            return list->valid(wParam) ? list->items[wParam].data : LB_ERR;
        case LB_SETCURSEL:
            if (!list->valid(wParam)) {
                list->setSelection(LB_ERR);
                return LB_ERR;
            }
            list->setSelection(static_cast<int>(wParam));
            list->scrollIntoView(static_cast<int>(wParam));
            return static_cast<LRESULT>(wParam);
        case LB_GETCURSEL:
            return list->selected;
        case LB_GETTEXT: {
            if (!list->valid(wParam) || !lParam) {
                return LB_ERR;
            }
            const Item& item = list->items[wParam];
            if (list->ownerDrawn(*window) && !(window->style & LBS_HASSTRINGS)) {
                std::memcpy(reinterpret_cast<void*>(lParam), &item.data, sizeof item.data);
                return sizeof item.data;
            }
            std::memcpy(reinterpret_cast<char*>(lParam), item.text.c_str(), item.text.size() + 1);
            return static_cast<LRESULT>(item.text.size());
        }
        case LB_GETTEXTLEN:
            if (!list->valid(wParam)) {
                return LB_ERR;
            }
            if (list->ownerDrawn(*window) && !(window->style & LBS_HASSTRINGS)) {
                return sizeof(LPARAM);
            }
            return static_cast<LRESULT>(list->items[wParam].text.size());
        case LB_SETTOPINDEX:
            if (!list->valid(wParam)) {
                return LB_ERR;
            }
            list->setTop(static_cast<int>(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            list->focusChanged = true;
            list->viewport->update();
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace

void registerListBoxClass() {
    registerPredefinedClass("LISTBOX", listBoxProc, createListBox,
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

}  // namespace platform
