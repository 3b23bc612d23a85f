// The first stage of reading a resource script: comments, the preprocessor
// directives (#include, #define, #ifdef and friends) and the split into tokens.
#ifndef ZARN_PLATFORM_RESOURCE_TOKENS_H
#define ZARN_PLATFORM_RESOURCE_TOKENS_H

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Gives the text of an included file, or nothing when there is none.
using IncludeReader = std::function<std::optional<std::string>(const std::string& name)>;

struct ResourceToken {
    enum class Kind { Identifier, Number, String, Punctuation };
    Kind kind;
    std::string text;  // a string's contents, unquoted and unescaped
    long value = 0;    // a number's value
    std::string file;
    int line = 0;
};

class ResourceScriptError : public std::runtime_error {
public:
    ResourceScriptError(const std::string& file, int line, const std::string& message);
};

struct PreprocessedScript {
    std::vector<ResourceToken> tokens;
    std::map<std::string, std::vector<ResourceToken>> defines;
};

// Throws ResourceScriptError.
PreprocessedScript preprocessResourceScript(const std::string& text, const std::string& fileName,
                                            const IncludeReader& readInclude);

}  // namespace platform

#endif
