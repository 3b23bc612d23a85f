#include "resources/resource_tokens.h"

#include <cctype>

namespace platform {

ResourceScriptError::ResourceScriptError(const std::string& file, int line,
                                         const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}

namespace {

constexpr int maxIncludeDepth = 16;

bool isIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Preprocessor {
public:
    explicit Preprocessor(const IncludeReader& readInclude) : readInclude_(readInclude) {}

    void process(const std::string& text, const std::string& file, int depth);
    PreprocessedScript result;

private:
    struct Source {
        const std::string& file;
        int line;
    };

    // The state of each open #if, with the line that opened it.
    struct Condition {
        bool active;
        int line;
    };
    void directive(const std::string& text, const Source& source,
                   std::vector<Condition>& conditions, int depth);
    std::vector<ResourceToken> lex(const std::string& text, const Source& source,
                                   bool& inComment) const;
    bool active(const std::vector<Condition>& conditions) const;
    [[noreturn]] void fail(const Source& source, const std::string& message) const {
        throw ResourceScriptError(source.file, source.line, message);
    }

    const IncludeReader& readInclude_;
};

bool Preprocessor::active(const std::vector<Condition>& conditions) const {
    for (const Condition& condition : conditions) {
        if (!condition.active) {
            return false;
        }
    }
    return true;
}

void Preprocessor::process(const std::string& text, const std::string& file, int depth) {
    if (depth > maxIncludeDepth) {
        throw ResourceScriptError(file, 1, "includes nested too deeply");
    }
    std::vector<Condition> conditions;
    bool inComment = false;
    std::size_t position = 0;
    int line = 1;
    while (position <= text.size()) {
        const int firstLine = line;
        std::string logical;
        for (;;) {
            std::size_t end = text.find('\n', position);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string physical = text.substr(position, end - position);
            if (!physical.empty() && physical.back() == '\r') {
                physical.pop_back();
            }
            position = end + 1;
            ++line;
            if (!physical.empty() && physical.back() == '\\' && position <= text.size()) {
                physical.pop_back();
                logical += physical;
                continue;
            }
            logical += physical;
            break;
        }
        const Source source{file, firstLine};
        const std::size_t first = logical.find_first_not_of(" \t");
        if (!inComment && first != std::string::npos && logical[first] == '#') {
            directive(logical.substr(first + 1), source, conditions, depth);
        } else if (active(conditions)) {
            for (ResourceToken& token : lex(logical, source, inComment)) {
                result.tokens.push_back(std::move(token));
            }
        }
    }
    if (!conditions.empty()) {
        throw ResourceScriptError(file, conditions.back().line, "#if without #endif");
    }
}

void Preprocessor::directive(const std::string& text, const Source& source,
                             std::vector<Condition>& conditions, int depth) {
    bool inComment = false;
    std::vector<ResourceToken> words = lex(text, source, inComment);
    if (words.empty()) {
        return;
    }
    const std::string name = words[0].text;
    const auto defined = [&](std::size_t index) {
        if (words.size() <= index) {
            fail(source, "#" + name + " needs a name");
        }
        return result.defines.count(words[index].text) != 0;
    };
    if (name == "ifdef" || name == "ifndef") {
        conditions.push_back({defined(1) == (name == "ifdef"), source.line});
    } else if (name == "if") {
        const bool value = words.size() > 1 &&
                           !(words[1].kind == ResourceToken::Kind::Number && words[1].value == 0);
        conditions.push_back({value, source.line});
    } else if (name == "else") {
        if (conditions.empty()) {
            fail(source, "#else without #if");
        }
        conditions.back().active = !conditions.back().active;
    } else if (name == "endif") {
        if (conditions.empty()) {
            fail(source, "#endif without #if");
        }
        conditions.pop_back();
    } else if (!active(conditions)) {
        return;
    } else if (name == "include") {
        const std::size_t quote = text.find('"');
        if (quote == std::string::npos) {
            return;  // <system headers>: their symbols are built in
        }
        const std::size_t close = text.find('"', quote + 1);
        if (close == std::string::npos) {
            fail(source, "#include without its closing quote");
        }
        const std::string included = text.substr(quote + 1, close - quote - 1);
        const std::optional<std::string> contents = readInclude_(included);
        if (!contents) {
            fail(source, "cannot open include file \"" + included + "\"");
        }
        process(*contents, included, depth + 1);
    } else if (name == "define") {
        if (words.size() < 2 || words[1].kind != ResourceToken::Kind::Identifier) {
            fail(source, "#define needs a name");
        }
        result.defines[words[1].text] = std::vector<ResourceToken>(words.begin() + 2, words.end());
    } else if (name == "undef") {
        if (words.size() > 1) {
            result.defines.erase(words[1].text);
        }
    } else if (name == "error") {
        fail(source, "#error" + text.substr(5));
    } else if (name != "pragma") {
        fail(source, "unknown directive #" + name);
    }
}

std::vector<ResourceToken> Preprocessor::lex(const std::string& text, const Source& source,
                                             bool& inComment) const {
    std::vector<ResourceToken> tokens;
    std::size_t i = 0;
    const auto make = [&](ResourceToken::Kind kind, std::string tokenText, long value = 0) {
        tokens.push_back(
            ResourceToken{kind, std::move(tokenText), value, source.file, source.line});
    };
    while (i < text.size()) {
        if (inComment) {
            const std::size_t end = text.find("*/", i);
            if (end == std::string::npos) {
                return tokens;
            }
            inComment = false;
            i = end + 2;
            continue;
        }
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            break;
        } else if (text.compare(i, 2, "/*") == 0) {
            inComment = true;
            i += 2;
        } else if (c == '"' || (c == 'L' && i + 1 < text.size() && text[i + 1] == '"')) {
            i += c == 'L' ? 2 : 1;
            std::string value;
            for (;;) {
                if (i >= text.size()) {
                    fail(source, "string without its closing quote");
                }
                const char s = text[i++];
                if (s == '"') {
                    if (i < text.size() && text[i] == '"') {
                        value += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (s == '\\' && i < text.size()) {
                    const char escaped = text[i++];
                    value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
                    continue;
                }
                value += s;
            }
            make(ResourceToken::Kind::String, std::move(value));
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t end = i;
            while (end < text.size() && isIdentifierChar(text[end])) {
                ++end;
            }
            std::string number = text.substr(i, end - i);
            while (!number.empty() && (number.back() == 'L' || number.back() == 'l' ||
                                       number.back() == 'U' || number.back() == 'u')) {
                number.pop_back();
            }
            std::size_t used = 0;
            long value = 0;
            try {
                value = static_cast<long>(std::stoul(number, &used, 0));
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != number.size() || number.empty()) {
                fail(source, "bad number " + text.substr(i, end - i));
            }
            make(ResourceToken::Kind::Number, text.substr(i, end - i), value);
            i = end;
        } else if (isIdentifierStart(c)) {
            std::size_t end = i;
            while (end < text.size() && isIdentifierChar(text[end])) {
                ++end;
            }
            make(ResourceToken::Kind::Identifier, text.substr(i, end - i));
            i = end;
        } else {
            make(ResourceToken::Kind::Punctuation, std::string(1, c));
            ++i;
        }
    }
    return tokens;
}

}  // namespace

PreprocessedScript preprocessResourceScript(const std::string& text, const std::string& fileName,
                                            const IncludeReader& readInclude) {
    Preprocessor preprocessor(readInclude);
    preprocessor.process(text, fileName, 0);
    return std::move(preprocessor.result);
}

}  // namespace platform
