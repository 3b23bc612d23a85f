#include "tools/tm-run/description_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string readAll(std::FILE* file, std::string& error) {
    std::string content;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        content.append(chunk, got);
    }
    if (std::ferror(file)) {
        error = std::strerror(errno);
    }
    return content;
}

}  // namespace

DescriptionFile readDescriptionFile(const std::string& path) {
    DescriptionFile result;
    if (path == "-") {
        result.text = readAll(stdin, result.error);
    } else {
        errno = 0;
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            result.error = std::strerror(errno);
            return result;
        }
        result.text = readAll(file.get(), result.error);
    }
    if (!result.error.empty()) {
        result.text.clear();
        return result;
    }
    if (const auto nul = result.text.find('\0'); nul != std::string::npos) {
        result.text.resize(nul);
    }
    return result;
}
