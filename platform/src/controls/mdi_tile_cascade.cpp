// Tiling and cascading the documents that are not minimised, above the rows
// of minimised ones, with Wine's geometry.
#include <cmath>

#include "controls/mdi_client.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

// Offset between cascaded windows: a caption and a frame, as in Win32.
constexpr int cascadeSpacing = captionHeight + frameWidth - 1;

// Tiling and cascading show every document that is not minimised: a
// maximised one is restored first.
std::vector<HWND> restoreForArranging(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    if (!client) {
        return {};
    }
    if (client->maximized) {
        changeShape(clientHandle, client->maximized, Shape::Normal);
    }
    std::vector<HWND> documents;
    for (HWND handle : client->zOrder) {
        if (!isMinimized(handle)) {
            documents.push_back(handle);
        }
    }
    return documents;
}

// The client area less the rows of minimised documents along its bottom.
QSize areaAboveMinimized(HWND clientHandle) {
    const Window* window = findWindow(clientHandle);
    if (!window) {
        return {};
    }
    const QSize area = clientSize(*window);
    return QSize(area.width(), std::max(0, area.height() - arrangeMinimized(clientHandle)));
}

}  // namespace

QRect cascadeRect(const QSize& area, int index) {
    const int stagger = area.height() / (3 * cascadeSpacing);
    const int offset = cascadeSpacing * (index % (stagger + 1));
    return QRect(offset, offset, area.width() - cascadeSpacing * stagger,
                 area.height() - cascadeSpacing * stagger);
}

void tile(HWND clientHandle, WPARAM how) {
    const std::vector<HWND> documents = restoreForArranging(clientHandle);
    if (documents.empty()) {
        return;
    }
    const int total = static_cast<int>(documents.size());
    const QSize area = areaAboveMinimized(clientHandle);
    int rows = static_cast<int>(std::sqrt(static_cast<double>(total)));
    int columns = total / rows;
    if (how & MDITILE_HORIZONTAL) {
        std::swap(rows, columns);
    }
    int width = area.width() / columns;
    int height = area.height() / rows;
    int placed = 0;
    for (int column = 1, x = 0; column <= columns && placed < total; ++column, x += width) {
        if (column == columns) {
            rows = total - placed;
            height = area.height() / rows;
        }
        for (int row = 1, y = 0; row <= rows && placed < total; ++row, y += height) {
            SetWindowPos(documents[static_cast<std::size_t>(placed++)], nullptr, x, y, width,
                         height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void cascade(HWND clientHandle) {
    const std::vector<HWND> documents = restoreForArranging(clientHandle);
    const std::vector<HWND> bottomFirst(documents.rbegin(), documents.rend());
    const QSize area = areaAboveMinimized(clientHandle);
    int index = 0;
    for (HWND document : bottomFirst) {
        const QRect rect = cascadeRect(area, index++);
        SetWindowPos(document, nullptr, rect.x(), rect.y(), rect.width(), rect.height(),
                     SWP_NOACTIVATE);
    }
}

}  // namespace platform
