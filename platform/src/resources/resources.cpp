#include "resources/resources.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>
#include <cstdio>
#include <map>
#include <memory>

#include "handle_table.h"
#include "resources/embedded_files.h"

namespace platform {

namespace {

constexpr int firstPredefinedId = 32512;

const ResourceScript& applicationScript() {
    static const ResourceScript script = [] {
        const std::optional<std::string> text = embeddedFile(embeddedScriptName);
        if (!text) {
            std::fprintf(stderr, "resources: %s is not embedded in the program\n",
                         embeddedScriptName);
            return ResourceScript{};
        }
        ResourceScriptResult result = parseResourceScript(*text, embeddedScriptName, embeddedFile);
        if (!result.error.empty()) {
            std::fprintf(stderr, "resources: %s\n", result.error.c_str());
        }
        return std::move(result.script);
    }();
    return script;
}

struct Icon {
    QIcon icon;
};

HandleTable<Icon, HICON>& icons() {
    static HandleTable<Icon, HICON> table(0x30000);
    return table;
}

// Loaded icons and cursors are shared: every load of one name gives the same
// handle. The key tells system images from the program's own.
enum class ImageKind { ProgramIcon, SystemIcon, SystemCursor };
std::map<std::pair<ImageKind, ResourceKey>, HICON>& loadedImages() {
    static std::map<std::pair<ImageKind, ResourceKey>, HICON> loaded;
    return loaded;
}

HICON sharedImage(ImageKind kind, const ResourceKey& key, const QIcon& icon) {
    const auto found = loadedImages().find({kind, key});
    if (found != loadedImages().end()) {
        return found->second;
    }
    const HICON handle = icons().add(std::make_unique<Icon>(Icon{icon}));
    loadedImages()[{kind, key}] = handle;
    return handle;
}

QIcon loadIconFile(const ResourceKey& key) {
    const auto file = applicationScript().iconFiles.find(key);
    if (file == applicationScript().iconFiles.end()) {
        return {};
    }
    const std::optional<std::string> bytes = embeddedFile(file->second);
    QPixmap pixmap;
    if (!bytes || !pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                                       static_cast<uint>(bytes->size()), "ICO")) {
        return {};
    }
    return QIcon(pixmap);
}

}  // namespace

std::optional<std::string> embeddedFile(const std::string& name) {
    for (std::size_t i = 0; i < embeddedFileCount; ++i) {
        if (name == embeddedFiles[i].name) {
            return std::string(reinterpret_cast<const char*>(embeddedFiles[i].data),
                               embeddedFiles[i].size);
        }
    }
    return std::nullopt;
}

const MenuTemplate* findMenuTemplate(LPCSTR name) {
    if (!name) {
        return nullptr;
    }
    const auto found = applicationScript().menus.find(resourceKey(name));
    return found == applicationScript().menus.end() ? nullptr : &found->second;
}

const DialogTemplate* findDialogTemplate(LPCSTR name) {
    if (!name) {
        return nullptr;
    }
    const auto found = applicationScript().dialogs.find(resourceKey(name));
    return found == applicationScript().dialogs.end() ? nullptr : &found->second;
}

QIcon iconOf(HICON handle) {
    const Icon* icon = icons().find(handle);
    return icon ? icon->icon : QIcon();
}

}  // namespace platform

using namespace platform;

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!name) {
        return nullptr;
    }
    const ResourceKey key = resourceKey(name);
    if (!instance) {
        if (key.id < firstPredefinedId) {
            return nullptr;
        }
        return sharedImage(ImageKind::SystemIcon, key,
                           QApplication::style()->standardIcon(QStyle::SP_DesktopIcon));
    }
    if (const auto found = loadedImages().find({ImageKind::ProgramIcon, key});
        found != loadedImages().end()) {
        return found->second;
    }
    const QIcon icon = loadIconFile(key);
    if (icon.isNull()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return sharedImage(ImageKind::ProgramIcon, key, icon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // The stand-in shows Qt's own cursors; the handle only has to be valid and shared.
    if (!name || instance) {
        return nullptr;
    }
    const ResourceKey key = resourceKey(name);
    if (key.id < firstPredefinedId) {
        return nullptr;
    }
    return sharedImage(ImageKind::SystemCursor, key, QIcon());
}
