#include "resources/resource_script.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "resources/resource_symbols.h"
#include "resources/resource_tokens.h"

namespace platform {

namespace {

using Kind = ResourceToken::Kind;

constexpr int maxMacroDepth = 32;

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

struct ControlKind {
    const char* keyword;
    const char* className;
    DWORD defaultStyle;
    enum class Form { Text, NoText, Icon, Generic } form;
};

// Statement keyword, window class, the styles it implies, and its argument list.
constexpr ControlKind controlKinds[] = {
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, ControlKind::Form::Text},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, ControlKind::Form::Text},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, ControlKind::Form::Text},
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, ControlKind::Form::Text},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, ControlKind::Form::Text},
    {"GROUPBOX", "BUTTON", 0x7, ControlKind::Form::Text},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, ControlKind::Form::NoText},
    {"LISTBOX", "LISTBOX", LBS_NOTIFY | WS_BORDER, ControlKind::Form::NoText},
    {"ICON", "STATIC", SS_ICON, ControlKind::Form::Icon},
    {"CONTROL", "", 0, ControlKind::Form::Generic},
};

const char* const memoryOptions[] = {"DISCARDABLE", "PRELOAD", "LOADONCALL", "MOVEABLE", "FIXED",
                                     "PURE",        "IMPURE",  "SHARED",     "NONSHARED"};

class Cursor {
public:
    Cursor(const std::vector<ResourceToken>& tokens, const ResourceToken* end)
        : tokens_(tokens), end_(end) {}

    bool atEnd() const { return position_ >= tokens_.size(); }
    const ResourceToken& peek() const {
        if (atEnd()) {
            fail("unexpected end of script");
        }
        return tokens_[position_];
    }
    ResourceToken next() {
        const ResourceToken& token = peek();
        ++position_;
        return token;
    }
    bool isWord(const char* word) const {
        return !atEnd() && peek().kind == Kind::Identifier && upperCase(peek().text) == word;
    }
    bool isPunctuation(char c) const {
        return !atEnd() && peek().kind == Kind::Punctuation && peek().text[0] == c;
    }
    bool accept(char c) {
        if (!isPunctuation(c)) {
            return false;
        }
        ++position_;
        return true;
    }
    void expect(char c) {
        if (!accept(c)) {
            fail(std::string("expected '") + c + "'");
        }
    }
    bool acceptBegin() {
        if (isWord("BEGIN") || isPunctuation('{')) {
            ++position_;
            return true;
        }
        return false;
    }
    bool acceptEnd() {
        if (isWord("END") || isPunctuation('}')) {
            ++position_;
            return true;
        }
        return false;
    }
    std::string string() {
        const ResourceToken token = next();
        if (token.kind != Kind::String) {
            fail("expected a quoted string", token);
        }
        return token.text;
    }
    [[noreturn]] void fail(const std::string& message) const {
        fail(message, atEnd() ? (end_ ? *end_ : ResourceToken{}) : tokens_[position_]);
    }
    [[noreturn]] static void fail(const std::string& message, const ResourceToken& at) {
        throw ResourceScriptError(at.file, at.line, message);
    }

private:
    const std::vector<ResourceToken>& tokens_;
    const ResourceToken* end_;
    std::size_t position_ = 0;
};

class ScriptParser {
public:
    explicit ScriptParser(const PreprocessedScript& source)
        : source_(source),
          cursor_(source.tokens, source.tokens.empty() ? nullptr : &source.tokens.back()) {}

    ResourceScript parse();

private:
    long expression(Cursor& cursor, int depth);
    long unary(Cursor& cursor, int depth);
    long symbol(const ResourceToken& name, int depth);
    long expression() { return expression(cursor_, 0); }
    bool isDefined(const std::string& name) const {
        return source_.defines.count(name) || builtinResourceSymbol(name);
    }
    ResourceKey resourceName();
    void skipMemoryOptions();
    MenuTemplateItem menuItem();
    std::vector<MenuTemplateItem> menuBody();
    UINT menuOptions();
    DialogTemplate dialog(bool extended);
    DialogControlTemplate control();
    void versionInfo(ResourceScript& script);
    void versionBlock(ResourceScript& script);
    void skipBlock();

    const PreprocessedScript& source_;
    Cursor cursor_;
};

long ScriptParser::symbol(const ResourceToken& name, int depth) {
    const auto defined = source_.defines.find(name.text);
    if (defined != source_.defines.end()) {
        if (depth > maxMacroDepth) {
            Cursor::fail("macro " + name.text + " expands without end", name);
        }
        if (defined->second.empty()) {
            Cursor::fail(name.text + " is defined without a value", name);
        }
        Cursor inner(defined->second, &name);
        const long value = expression(inner, depth + 1);
        if (!inner.atEnd()) {
            Cursor::fail("the value of " + name.text + " is not a plain expression", name);
        }
        return value;
    }
    if (const auto builtin = builtinResourceSymbol(name.text)) {
        return *builtin;
    }
    Cursor::fail("unknown symbol " + name.text, name);
}

long ScriptParser::unary(Cursor& cursor, int depth) {
    if (cursor.accept('-')) {
        return -unary(cursor, depth);
    }
    if (cursor.accept('~')) {
        return ~unary(cursor, depth);
    }
    if (cursor.accept('(')) {
        const long value = expression(cursor, depth);
        cursor.expect(')');
        return value;
    }
    const ResourceToken token = cursor.next();
    if (token.kind == Kind::Number) {
        return token.value;
    }
    if (token.kind == Kind::Identifier) {
        return symbol(token, depth);
    }
    Cursor::fail("expected a number or a symbol, found \"" + token.text + "\"", token);
}

long ScriptParser::expression(Cursor& cursor, int depth) {
    long value =
        cursor.isWord("NOT") ? (cursor.next(), ~unary(cursor, depth)) : unary(cursor, depth);
    for (;;) {
        if (cursor.accept('|')) {
            if (cursor.isWord("NOT")) {
                cursor.next();
                value &= ~unary(cursor, depth);
            } else {
                value |= unary(cursor, depth);
            }
        } else if (cursor.accept('+')) {
            value += unary(cursor, depth);
        } else if (cursor.accept('-')) {
            value -= unary(cursor, depth);
        } else if (cursor.accept('&')) {
            value &= unary(cursor, depth);
        } else {
            return value;
        }
    }
}

ResourceKey ScriptParser::resourceName() {
    const ResourceToken& token = cursor_.peek();
    if (token.kind == Kind::String) {
        return ResourceKey{-1, upperCase(cursor_.next().text)};
    }
    if (token.kind == Kind::Identifier && !isDefined(token.text)) {
        return ResourceKey{-1, upperCase(cursor_.next().text)};
    }
    const long id = expression();
    return ResourceKey{static_cast<int>(id & 0xFFFF), {}};
}

void ScriptParser::skipMemoryOptions() {
    for (bool skipped = true; skipped;) {
        skipped = false;
        for (const char* option : memoryOptions) {
            if (cursor_.isWord(option)) {
                cursor_.next();
                skipped = true;
            }
        }
    }
}

UINT ScriptParser::menuOptions() {
    UINT flags = 0;
    for (;;) {
        if (cursor_.accept(',')) {
            continue;
        }
        if (cursor_.isWord("CHECKED")) {
            flags |= MF_CHECKED;
        } else if (cursor_.isWord("GRAYED")) {
            flags |= MF_GRAYED;
        } else if (cursor_.isWord("INACTIVE")) {
            flags |= MF_DISABLED;
        } else if (cursor_.isWord("MENUBARBREAK")) {
            flags |= MF_MENUBARBREAK;
        } else if (cursor_.isWord("MENUBREAK")) {
            flags |= MF_MENUBREAK;
        } else if (cursor_.isWord("HELP")) {
            flags |= MF_RIGHTJUSTIFY;
        } else {
            return flags;
        }
        cursor_.next();
    }
}

MenuTemplateItem ScriptParser::menuItem() {
    MenuTemplateItem item;
    if (cursor_.isWord("POPUP")) {
        cursor_.next();
        item.popup = true;
        item.text = cursor_.string();
        item.flags = menuOptions();
        item.children = menuBody();
    } else if (cursor_.isWord("MENUITEM")) {
        cursor_.next();
        if (cursor_.isWord("SEPARATOR")) {
            cursor_.next();
            item.separator = true;
            return item;
        }
        item.text = cursor_.string();
        cursor_.expect(',');
        item.id = static_cast<UINT>(expression() & 0xFFFF);
        item.flags = menuOptions();
    } else {
        cursor_.fail("expected MENUITEM or POPUP, found \"" + cursor_.peek().text + "\"");
    }
    return item;
}

std::vector<MenuTemplateItem> ScriptParser::menuBody() {
    if (!cursor_.acceptBegin()) {
        cursor_.fail("expected BEGIN");
    }
    std::vector<MenuTemplateItem> items;
    while (!cursor_.acceptEnd()) {
        items.push_back(menuItem());
    }
    return items;
}

DialogControlTemplate ScriptParser::control() {
    const ResourceToken keyword = cursor_.next();
    const std::string word = upperCase(keyword.text);
    const auto kind = std::find_if(std::begin(controlKinds), std::end(controlKinds),
                                   [&](const ControlKind& each) { return word == each.keyword; });
    if (kind == std::end(controlKinds)) {
        Cursor::fail("unsupported dialog control " + keyword.text, keyword);
    }
    DialogControlTemplate control;
    control.className = kind->className;
    control.style = WS_CHILD | WS_VISIBLE | kind->defaultStyle;
    using Form = ControlKind::Form;
    if (kind->form == Form::Text || kind->form == Form::Generic) {
        control.text = cursor_.string();
        cursor_.expect(',');
    } else if (kind->form == Form::Icon) {
        const ResourceToken& icon = cursor_.peek();
        if (icon.kind == Kind::String) {
            control.text = cursor_.string();
        } else if (icon.kind == Kind::Identifier && !isDefined(icon.text)) {
            control.text = cursor_.next().text;
        } else {
            control.text = "#" + std::to_string(expression() & 0xFFFF);
        }
        cursor_.expect(',');
    }
    control.id = static_cast<int>(expression());
    cursor_.expect(',');
    if (kind->form == Form::Generic) {
        if (cursor_.peek().kind == Kind::String) {
            control.className = upperCase(cursor_.string());
        } else {
            control.className = upperCase(cursor_.next().text);
        }
        cursor_.expect(',');
        control.style = WS_CHILD | WS_VISIBLE | static_cast<DWORD>(expression());
        cursor_.expect(',');
    }
    control.x = static_cast<int>(expression());
    cursor_.expect(',');
    control.y = static_cast<int>(expression());
    const bool sizeOptional = kind->form == Form::Icon;
    if (!sizeOptional || cursor_.isPunctuation(',')) {
        cursor_.expect(',');
        control.width = static_cast<int>(expression());
        cursor_.expect(',');
        control.height = static_cast<int>(expression());
    }
    if (kind->form == Form::Generic) {
        if (cursor_.accept(',')) {
            control.exStyle = static_cast<DWORD>(expression());
        }
        return control;
    }
    if (cursor_.accept(',')) {
        control.style |= static_cast<DWORD>(expression());
    }
    if (cursor_.accept(',')) {
        control.exStyle = static_cast<DWORD>(expression());
    }
    return control;
}

DialogTemplate ScriptParser::dialog(bool extended) {
    DialogTemplate dialog;
    dialog.x = static_cast<int>(expression());
    cursor_.expect(',');
    dialog.y = static_cast<int>(expression());
    cursor_.expect(',');
    dialog.width = static_cast<int>(expression());
    cursor_.expect(',');
    dialog.height = static_cast<int>(expression());
    if (extended && cursor_.accept(',')) {
        expression();
    }
    bool hasStyle = false;
    while (!cursor_.acceptBegin()) {
        const ResourceToken option = cursor_.next();
        const std::string word = upperCase(option.text);
        if (word == "STYLE") {
            dialog.style = static_cast<DWORD>(expression());
            hasStyle = true;
        } else if (word == "EXSTYLE") {
            dialog.exStyle = static_cast<DWORD>(expression());
        } else if (word == "CAPTION") {
            dialog.caption = cursor_.string();
        } else if (word == "FONT") {
            dialog.fontSize = static_cast<int>(expression());
            cursor_.expect(',');
            dialog.fontFace = cursor_.string();
            while (cursor_.accept(',')) {
                expression();
            }
        } else if (word == "LANGUAGE") {
            expression();
            cursor_.expect(',');
            expression();
        } else if (word == "CHARACTERISTICS" || word == "VERSION") {
            expression();
        } else if (word == "MENU" || word == "CLASS") {
            cursor_.next();
        } else {
            Cursor::fail("unsupported dialog option " + option.text, option);
        }
    }
    if (!hasStyle) {
        dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
    }
    if (!dialog.caption.empty()) {
        dialog.style |= WS_CAPTION;
    }
    if (dialog.fontSize > 0) {
        dialog.style |= DS_SETFONT;
    }
    while (!cursor_.acceptEnd()) {
        dialog.controls.push_back(control());
    }
    return dialog;
}

void ScriptParser::versionBlock(ResourceScript& script) {
    if (!cursor_.acceptBegin()) {
        cursor_.fail("expected BEGIN");
    }
    while (!cursor_.acceptEnd()) {
        const ResourceToken keyword = cursor_.next();
        const std::string word = upperCase(keyword.text);
        if (word == "BLOCK") {
            cursor_.string();
            versionBlock(script);
        } else if (word == "VALUE") {
            const std::string key = cursor_.string();
            std::string firstText;
            while (cursor_.accept(',')) {
                if (cursor_.peek().kind == Kind::String) {
                    const std::string text = cursor_.string();
                    if (firstText.empty()) {
                        firstText = text;
                    }
                } else {
                    expression();
                }
            }
            if (!firstText.empty()) {
                script.versionStrings[key] = firstText;
            }
        } else {
            Cursor::fail("expected BLOCK or VALUE, found \"" + keyword.text + "\"", keyword);
        }
    }
}

void ScriptParser::versionInfo(ResourceScript& script) {
    while (!(cursor_.isWord("BEGIN") || cursor_.isPunctuation('{'))) {
        cursor_.next();
        expression();
        while (cursor_.accept(',')) {
            expression();
        }
    }
    versionBlock(script);
}

void ScriptParser::skipBlock() {
    while (!cursor_.acceptBegin()) {
        cursor_.next();
    }
    for (int depth = 1; depth > 0;) {
        if (cursor_.acceptBegin()) {
            ++depth;
        } else if (cursor_.acceptEnd()) {
            --depth;
        } else {
            cursor_.next();
        }
    }
}

ResourceScript ScriptParser::parse() {
    ResourceScript script;
    while (!cursor_.atEnd()) {
        if (cursor_.isWord("LANGUAGE")) {
            cursor_.next();
            expression();
            cursor_.expect(',');
            expression();
            continue;
        }
        if (cursor_.isWord("STRINGTABLE")) {
            skipBlock();
            continue;
        }
        const ResourceKey name = resourceName();
        const ResourceToken type = cursor_.next();
        const std::string word = upperCase(type.text);
        skipMemoryOptions();
        if (word == "ICON") {
            script.iconFiles[name] = cursor_.string();
        } else if (word == "MENU") {
            script.menus[name] = MenuTemplate{menuBody()};
        } else if (word == "DIALOG" || word == "DIALOGEX") {
            script.dialogs[name] = dialog(word == "DIALOGEX");
        } else if (word == "VERSIONINFO") {
            versionInfo(script);
        } else {
            Cursor::fail("unsupported resource type " + type.text, type);
        }
    }
    return script;
}

}  // namespace

ResourceKey resourceKey(LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        return ResourceKey{static_cast<int>(reinterpret_cast<ULONG_PTR>(name)), {}};
    }
    if (name[0] == '#') {
        return ResourceKey{std::atoi(name + 1), {}};
    }
    return ResourceKey{-1, upperCase(name)};
}

ResourceScriptResult parseResourceScript(const std::string& text, const std::string& fileName,
                                         const IncludeReader& readInclude) {
    try {
        const PreprocessedScript source = preprocessResourceScript(text, fileName, readInclude);
        return ResourceScriptResult{ScriptParser(source).parse(), {}};
    } catch (const ResourceScriptError& error) {
        return ResourceScriptResult{{}, error.what()};
    }
}

}  // namespace platform
