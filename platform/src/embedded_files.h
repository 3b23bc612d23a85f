// The files of res/, embedded into the program when it is built.
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

std::optional<std::string> embeddedFile(const std::string& name);

}  // namespace platform

#endif
