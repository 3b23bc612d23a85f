// A reader of resource scripts (.rc): the statements that the workbench's
// script uses, with #include and #define for its header of ids.
#ifndef ZARN_PLATFORM_RESOURCE_SCRIPT_H
#define ZARN_PLATFORM_RESOURCE_SCRIPT_H

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_tokens.h"

namespace platform {

// A resource is named by an integer id or by a case-insensitive name.
struct ResourceKey {
    int id = -1;
    std::string name;  // upper case; empty when the key is an id
    bool operator<(const ResourceKey& other) const {
        return id != other.id ? id < other.id : name < other.name;
    }
};
ResourceKey resourceKey(LPCSTR name);

struct MenuTemplateItem {
    std::string text;
    UINT id = 0;
    UINT flags = 0;  // MF_CHECKED, MF_GRAYED, ...
    bool separator = false;
    bool popup = false;
    std::vector<MenuTemplateItem> children;
};

struct MenuTemplate {
    std::vector<MenuTemplateItem> items;
};

struct DialogControlTemplate {
    std::string className;  // "BUTTON", "STATIC", "EDIT", ...
    std::string text;       // for an ICON control, "#<id>" or the icon's name
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
    DWORD style = 0;
    DWORD exStyle = 0;
};

struct DialogTemplate {
    int x = 0, y = 0, width = 0, height = 0;  // dialog units
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption;
    int fontSize = 0;
    std::string fontFace;
    std::vector<DialogControlTemplate> controls;
};

struct ResourceScript {
    std::map<ResourceKey, MenuTemplate> menus;
    std::map<ResourceKey, DialogTemplate> dialogs;
    std::map<ResourceKey, std::string> iconFiles;
    std::map<std::string, std::string> versionStrings;  // StringFileInfo values
};

struct ResourceScriptResult {
    ResourceScript script;
    std::string error;  // "line N: ..." when the script could not be read
};

ResourceScriptResult parseResourceScript(const std::string& text, const std::string& fileName,
                                         const IncludeReader& readInclude);

}  // namespace platform

#endif
