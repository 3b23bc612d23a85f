#include "resources/resource_symbols.h"

#include <windows.h>

#include <map>

namespace platform {

namespace {

#define SYMBOL(name) \
    { #name, static_cast < long>(name) }

// Values from the resource compiler's own headers (winresrc.h, winver.h).
constexpr long langNeutral = 0x00;
constexpr long langEnglish = 0x09;
constexpr long sublangNeutral = 0x00;
constexpr long sublangDefault = 0x01;
constexpr long sublangEnglishUs = 0x01;
constexpr long sublangEnglishUk = 0x02;

const std::map<std::string, long>& symbols() {
    static const std::map<std::string, long> table = {
        SYMBOL(IDOK),
        SYMBOL(IDCANCEL),
        SYMBOL(IDABORT),
        SYMBOL(IDRETRY),
        SYMBOL(IDIGNORE),
        SYMBOL(IDYES),
        SYMBOL(IDNO),
        SYMBOL(IDCLOSE),
        SYMBOL(IDHELP),
        {"IDC_STATIC", -1},
        SYMBOL(WS_OVERLAPPED),
        SYMBOL(WS_POPUP),
        SYMBOL(WS_CHILD),
        SYMBOL(WS_MINIMIZE),
        SYMBOL(WS_VISIBLE),
        SYMBOL(WS_DISABLED),
        SYMBOL(WS_CLIPSIBLINGS),
        SYMBOL(WS_CLIPCHILDREN),
        SYMBOL(WS_MAXIMIZE),
        SYMBOL(WS_CAPTION),
        SYMBOL(WS_BORDER),
        SYMBOL(WS_DLGFRAME),
        SYMBOL(WS_VSCROLL),
        SYMBOL(WS_HSCROLL),
        SYMBOL(WS_SYSMENU),
        SYMBOL(WS_THICKFRAME),
        SYMBOL(WS_GROUP),
        SYMBOL(WS_TABSTOP),
        SYMBOL(WS_MINIMIZEBOX),
        SYMBOL(WS_MAXIMIZEBOX),
        SYMBOL(WS_OVERLAPPEDWINDOW),
        SYMBOL(WS_POPUPWINDOW),
        SYMBOL(WS_CHILDWINDOW),
        SYMBOL(WS_SIZEBOX),
        SYMBOL(WS_EX_DLGMODALFRAME),
        SYMBOL(WS_EX_TOPMOST),
        SYMBOL(WS_EX_TOOLWINDOW),
        SYMBOL(WS_EX_WINDOWEDGE),
        SYMBOL(WS_EX_CLIENTEDGE),
        SYMBOL(WS_EX_STATICEDGE),
        SYMBOL(WS_EX_APPWINDOW),
        SYMBOL(WS_EX_CONTROLPARENT),
        SYMBOL(DS_ABSALIGN),
        SYMBOL(DS_SYSMODAL),
        SYMBOL(DS_SETFONT),
        SYMBOL(DS_MODALFRAME),
        SYMBOL(DS_CENTER),
        SYMBOL(SS_LEFT),
        SYMBOL(SS_CENTER),
        SYMBOL(SS_RIGHT),
        SYMBOL(SS_ICON),
        SYMBOL(SS_NOPREFIX),
        SYMBOL(BS_PUSHBUTTON),
        SYMBOL(BS_DEFPUSHBUTTON),
        SYMBOL(ES_LEFT),
        SYMBOL(ES_CENTER),
        SYMBOL(ES_RIGHT),
        SYMBOL(ES_MULTILINE),
        SYMBOL(ES_AUTOVSCROLL),
        SYMBOL(ES_AUTOHSCROLL),
        SYMBOL(ES_READONLY),
        SYMBOL(ES_WANTRETURN),
        SYMBOL(LBS_NOTIFY),
        SYMBOL(LBS_SORT),
        SYMBOL(LBS_OWNERDRAWFIXED),
        SYMBOL(LBS_HASSTRINGS),
        SYMBOL(LBS_NOINTEGRALHEIGHT),
        SYMBOL(LBS_STANDARD),
        {"LANG_NEUTRAL", langNeutral},
        {"LANG_ENGLISH", langEnglish},
        {"SUBLANG_NEUTRAL", sublangNeutral},
        {"SUBLANG_DEFAULT", sublangDefault},
        {"SUBLANG_ENGLISH_US", sublangEnglishUs},
        {"SUBLANG_ENGLISH_UK", sublangEnglishUk},
        {"VS_VERSION_INFO", 1},
        {"VS_FFI_FILEFLAGSMASK", 0x3F},
        {"VS_FF_DEBUG", 0x01},
        {"VS_FF_PRERELEASE", 0x02},
        {"VOS_UNKNOWN", 0},
        {"VOS__WINDOWS32", 0x4},
        {"VOS_NT", 0x40000},
        {"VOS_NT_WINDOWS32", 0x40004},
        {"VFT_UNKNOWN", 0},
        {"VFT_APP", 1},
        {"VFT_DLL", 2},
        {"VFT2_UNKNOWN", 0},
    };
    return table;
}

#undef SYMBOL

}  // namespace

std::optional<long> builtinResourceSymbol(const std::string& name) {
    const auto found = symbols().find(name);
    if (found == symbols().end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace platform
