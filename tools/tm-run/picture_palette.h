#ifndef ZARN_TOOLS_TM_RUN_PICTURE_PALETTE_H
#define ZARN_TOOLS_TM_RUN_PICTURE_PALETTE_H

#include <array>
#include <cstddef>

#include "tools/tm-run/picture.h"

// Colours that stay apart for the common kinds of colour blindness: symbols
// get black and dark or muted tones, states the bright ones of another
// well-tried set, so that the head stands out from the tape. Past the end
// each list starts again; the legend tells the repeats apart.
inline constexpr std::array<Colour, 8> symbolColours{{
    {0, 0, 0},        // black
    {51, 34, 136},    // indigo
    {68, 170, 153},   // teal
    {136, 34, 85},    // wine
    {153, 153, 51},   // olive
    {136, 204, 238},  // cyan
    {221, 204, 119},  // sand
    {119, 119, 119},  // grey
}};
inline constexpr std::array<Colour, 7> stateColours{{
    {230, 159, 0},    // orange
    {86, 180, 233},   // sky blue
    {0, 158, 115},    // bluish green
    {240, 228, 66},   // yellow
    {0, 114, 178},    // blue
    {213, 94, 0},     // vermilion
    {204, 121, 167},  // reddish purple
}};

inline Colour symbolColour(std::size_t index) {
    return symbolColours[index % symbolColours.size()];
}
inline Colour stateColour(std::size_t index) {
    return stateColours[index % stateColours.size()];
}

#endif
