// The resource files that the program's build embeds (see zarn_embed_resources):
// the resource script, named by embeddedScriptName, and the files it names.
#ifndef ZARN_PLATFORM_EMBEDDED_FILES_H
#define ZARN_PLATFORM_EMBEDDED_FILES_H

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedFile embeddedFiles[];
extern const std::size_t embeddedFileCount;
extern const char* const embeddedScriptName;

std::optional<std::string> embeddedFile(const std::string& name);

}  // namespace platform

#endif
