#include "tools/tm-run/picture_legend.h"

#include <stb_easy_font.h>

#include <algorithm>

namespace {

constexpr int margin = 4;
constexpr int lineHeight = 13;
constexpr int swatchSize = 9;
constexpr int afterSwatch = 3;
constexpr int betweenEntries = 10;
constexpr std::size_t longestLabel = 32;
constexpr Colour swatchBorder{136, 136, 136};

// The font draws printable ASCII only; a name is cut short, not the legend long.
std::string printable(const std::string& label) {
    std::string text;
    for (const char byte : label.substr(0, longestLabel)) {
        text += byte >= ' ' && byte <= '~' ? byte : '?';
    }
    if (label.size() > longestLabel) {
        text += "...";
    }
    return text;
}

int textWidth(std::string text) {
    return stb_easy_font_width(text.data());
}

int entryWidth(const LegendEntry& entry) {
    return (entry.swatch ? swatchSize + afterSwatch : 0) + textWidth(printable(entry.label));
}

struct Place {
    int x;
    int y;
};

// Left to right, a new line whenever the next entry would cross the edge.
std::vector<Place> layOut(const std::vector<LegendEntry>& entries, int width) {
    std::vector<Place> places;
    Place next{margin, margin};
    for (const LegendEntry& entry : entries) {
        const int entryRight = next.x + entryWidth(entry);
        if (next.x > margin && entryRight > width - margin) {
            next = {margin, next.y + lineHeight};
        }
        places.push_back(next);
        next.x += entryWidth(entry) + betweenEntries;
    }
    return places;
}

void drawText(Picture& picture, int x, int y, std::string text) {
    // Each quad is four vertices of 16 bytes; no glyph has more than 24 quads.
    std::vector<char> vertices(text.size() * 24 * 64 + 64);
    const int quads =
        stb_easy_font_print(static_cast<float>(x), static_cast<float>(y), text.data(), nullptr,
                            vertices.data(), static_cast<int>(vertices.size()));
    for (int quad = 0; quad < quads; ++quad) {
        const auto corner = [&](int vertex, int coordinate) {
            float value = 0;
            std::copy_n(&vertices[static_cast<std::size_t>(quad) * 64 +
                                  static_cast<std::size_t>(vertex * 16 + coordinate * 4)],
                        sizeof value, reinterpret_cast<char*>(&value));
            return static_cast<int>(value);
        };
        picture.fill(corner(0, 0), corner(0, 1), corner(2, 0), corner(2, 1), black);
    }
}

}  // namespace

int legendHeight(const std::vector<LegendEntry>& entries, int width) {
    const std::vector<Place> places = layOut(entries, width);
    return places.empty() ? 0 : places.back().y + lineHeight + margin;
}

void drawLegend(Picture& picture, const std::vector<LegendEntry>& entries) {
    const std::vector<Place> places = layOut(entries, picture.width);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        int x = places[i].x;
        const int y = places[i].y;
        if (const auto swatch = entries[i].swatch) {
            picture.fill(x, y, x + swatchSize, y + swatchSize, swatchBorder);
            picture.fill(x + 1, y + 1, x + swatchSize - 1, y + swatchSize - 1, *swatch);
            x += swatchSize + afterSwatch;
        }
        drawText(picture, x, y, printable(entries[i].label));
    }
}
