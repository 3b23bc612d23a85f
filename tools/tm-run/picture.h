#ifndef ZARN_TOOLS_TM_RUN_PICTURE_H
#define ZARN_TOOLS_TM_RUN_PICTURE_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct Colour {
    std::uint8_t red, green, blue;

    bool operator==(const Colour&) const = default;
};

inline constexpr Colour white{255, 255, 255};
inline constexpr Colour black{0, 0, 0};

// Red, green, blue bytes for each pixel, row after row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Picture(int width, int height)
        : width(width),
          height(height),
          rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 255) {}

    std::uint8_t* pixel(int x, int y) {
        return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)) *
                    3];
    }
    // Paints the rectangle, as far as it lies within the picture.
    void fill(int left, int top, int right, int bottom, Colour colour);
};

#endif
