#include "tools/tm-run/png_file.h"

#include <zlib.h>

#include <cstdlib>

namespace {

// zlib deflates a tall picture many times faster than the writer's own
// compressor, whose match search crawls over long runs of equal bytes.
unsigned char* deflateWithZlib(unsigned char* data, int length, int* compressedLength, int) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* compressed = static_cast<unsigned char*>(std::malloc(size));
    if (compressed == nullptr ||
        compress2(compressed, &size, data, static_cast<uLong>(length), Z_BEST_SPEED) != Z_OK) {
        std::free(compressed);
        return nullptr;
    }
    *compressedLength = static_cast<int>(size);
    return compressed;
}

}  // namespace

#define STBI_WRITE_NO_STDIO
#define STBIW_ZLIB_COMPRESS deflateWithZlib
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tools/tm-run/file_replacement.h"

namespace {

void append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

}  // namespace

bool savePng(const Picture& picture, const std::string& path, std::string& error) {
    // Rows of a diagram mostly repeat the row above: the filter that takes
    // the difference to it leaves little to compress, and trying the other
    // filters on every row would take most of the time.
    stbi_write_force_png_filter = 2;
    std::string bytes;
    if (stbi_write_png_to_func(append, &bytes, picture.width, picture.height, 3, picture.rgb.data(),
                               picture.width * 3) == 0) {
        error = "not enough memory";
        return false;
    }
    return replaceFile(path, bytes, error);
}
