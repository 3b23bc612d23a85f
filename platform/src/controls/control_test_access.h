// What the test mode reads from controls and does to them, declared here so
// that it reaches a control through these interfaces, not through its file.
#ifndef ZARN_PLATFORM_CONTROL_TEST_ACCESS_H
#define ZARN_PLATFORM_CONTROL_TEST_ACCESS_H

#include <win32_test.h>

#include <string>
#include <vector>

namespace platform {

// A list box's lines, first visible line and the rows its client area shows.
struct ListReadBack {
    virtual ~ListReadBack() = default;
    virtual std::vector<win32test::ListItem> lines() const = 0;
    virtual int topIndex() const = 0;
    virtual int visibleCount() const = 0;
};

// An edit control takes typed keys, one per character ('\n' is Enter).
struct TypingTarget {
    virtual ~TypingTarget() = default;
    virtual bool type(const std::string& text) = 0;
};

// A tab control takes a click on a tab.
struct TabClickTarget {
    virtual ~TabClickTarget() = default;
    virtual bool clickTab(int index) = 0;
};

}  // namespace platform

#endif
