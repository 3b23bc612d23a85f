// A table of live objects reached through Win32-style opaque handles. Handles are
// never reused, so a handle kept past its object's end is recognised as stale.
#ifndef ZARN_PLATFORM_HANDLE_TABLE_H
#define ZARN_PLATFORM_HANDLE_TABLE_H

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform {

template <typename Object, typename Handle>
class HandleTable {
public:
    explicit HandleTable(std::uintptr_t firstValue) : nextValue(firstValue) {}

    Handle add(std::unique_ptr<Object> object) {
        const std::uintptr_t value = nextValue;
        nextValue += 4;
        objects.emplace(value, std::move(object));
        return reinterpret_cast<Handle>(value);
    }

    Object* find(Handle handle) const {
        const auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == objects.end() ? nullptr : found->second.get();
    }

    std::unique_ptr<Object> remove(Handle handle) {
        const auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == objects.end()) {
            return nullptr;
        }
        std::unique_ptr<Object> object = std::move(found->second);
        objects.erase(found);
        return object;
    }

    // Handles in creation order, safe to use while the table changes.
    template <typename Visit>
    void forEachHandle(Visit visit) const {
        std::vector<Handle> handles;
        for (const auto& entry : objects) {
            handles.push_back(reinterpret_cast<Handle>(entry.first));
        }
        for (Handle handle : handles) {
            visit(handle);
        }
    }

private:
    std::uintptr_t nextValue;
    std::map<std::uintptr_t, std::unique_ptr<Object>> objects;
};

}  // namespace platform

#endif
