#include "tools/tm-run/picture.h"

#include <algorithm>

void Picture::fill(int left, int top, int right, int bottom, Colour colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::uint8_t* bytes = pixel(x, y);
            bytes[0] = colour.red;
            bytes[1] = colour.green;
            bytes[2] = colour.blue;
        }
    }
}
