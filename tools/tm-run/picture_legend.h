#ifndef ZARN_TOOLS_TM_RUN_PICTURE_LEGEND_H
#define ZARN_TOOLS_TM_RUN_PICTURE_LEGEND_H

#include <optional>
#include <string>
#include <vector>

#include "tools/tm-run/picture.h"

// One swatch with its label, or text alone.
struct LegendEntry {
    std::optional<Colour> swatch;
    std::string label;
};

// How tall the legend is, laid out in lines across `width` pixels.
int legendHeight(const std::vector<LegendEntry>& entries, int width);
// Draws it at the top of the picture, across its width.
void drawLegend(Picture& picture, const std::vector<LegendEntry>& entries);

#endif
