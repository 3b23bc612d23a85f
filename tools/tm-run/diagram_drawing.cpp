#include "tools/tm-run/diagram_drawing.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "tools/tm-run/picture_legend.h"
#include "tools/tm-run/picture_palette.h"

namespace {

// Room for the legend's first entries, however narrow the tape.
constexpr int narrowestPicture = 200;

struct Scale {
    int cellsPerPixel = 1;
    int cellSize = 1;  // pixels across and down
    int columns = 0;
};

Scale scaleFor(const SpaceTimeDiagram& diagram) {
    const auto cellCount = static_cast<int>(diagram.cells.size());
    const auto rowCount = static_cast<int>(diagram.rows.size());
    Scale scale;
    scale.cellsPerPixel = (cellCount + diagramWidth - 1) / diagramWidth;
    scale.columns = (cellCount + scale.cellsPerPixel - 1) / scale.cellsPerPixel;
    if (scale.cellsPerPixel == 1) {
        scale.cellSize = std::max(1, std::min(diagramWidth / cellCount, tallestDiagram / rowCount));
    }
    return scale;
}

// Every symbol that the pictured steps show but the blank, in byte order.
std::array<Colour, 256> coloursOfSymbols(const SpaceTimeDiagram& diagram) {
    std::array<bool, 256> seen{};
    for (const char symbol : diagram.cells) {
        seen[static_cast<unsigned char>(symbol)] = true;
    }
    for (const SpaceTimeDiagram::Row& row : diagram.rows) {
        seen[static_cast<unsigned char>(row.written)] = true;
    }
    std::array<Colour, 256> colours;
    colours.fill(white);
    std::size_t next = 0;
    for (std::size_t symbol = 0; symbol < seen.size(); ++symbol) {
        if (seen[symbol] && symbol != static_cast<unsigned char>(blankSymbol)) {
            colours[symbol] = symbolColour(next++);
        }
    }
    return colours;
}

std::vector<LegendEntry> legendOf(const SpaceTimeDiagram& diagram,
                                  const std::array<Colour, 256>& colours, const Scale& scale) {
    std::vector<LegendEntry> entries{{white, std::string(1, blankSymbol)}};
    for (std::size_t symbol = 0; symbol < colours.size(); ++symbol) {
        if (colours[symbol] != white) {
            entries.push_back({colours[symbol], std::string(1, static_cast<char>(symbol))});
        }
    }
    for (std::size_t state = 0; state < diagram.states.size(); ++state) {
        entries.push_back({stateColour(state), diagram.states[state]});
    }
    std::string steps = std::to_string(diagram.rows.size() - 1) + " steps, ";
    steps += scale.cellsPerPixel > 1 ? std::to_string(scale.cellsPerPixel) + " cells per pixel"
                                     : std::to_string(scale.cellSize) + " px per cell";
    entries.push_back({std::nullopt, steps});
    return entries;
}

// The tape as the rows go by, one colour per column of pixels.
class TapeColumns {
public:
    TapeColumns(const SpaceTimeDiagram& diagram, const std::array<Colour, 256>& colours,
                const Scale& scale)
        : cells(diagram.cells),
          colours(colours),
          cellsPerPixel(scale.cellsPerPixel),
          columns(static_cast<std::size_t>(scale.columns)) {
        for (std::size_t column = 0; column < columns.size(); ++column) {
            recolour(column);
        }
    }

    Colour operator[](std::size_t column) const { return columns[column]; }

    void write(std::size_t cell, char symbol) {
        cells[cell] = symbol;
        recolour(cell / static_cast<std::size_t>(cellsPerPixel));
    }

private:
    void recolour(std::size_t column) {
        const std::size_t first = column * static_cast<std::size_t>(cellsPerPixel);
        const std::size_t end =
            std::min(first + static_cast<std::size_t>(cellsPerPixel), cells.size());
        std::array<int, 256> counts{};
        unsigned char mostCommon = static_cast<unsigned char>(blankSymbol);
        for (std::size_t cell = first; cell < end; ++cell) {
            const auto symbol = static_cast<unsigned char>(cells[cell]);
            if (symbol != static_cast<unsigned char>(blankSymbol) &&
                ++counts[symbol] > counts[mostCommon]) {
                mostCommon = symbol;
            }
        }
        columns[column] = colours[mostCommon];
    }

    std::string cells;
    const std::array<Colour, 256>& colours;
    int cellsPerPixel;
    std::vector<Colour> columns;
};

}  // namespace

Picture drawDiagram(const SpaceTimeDiagram& diagram) {
    const Scale scale = scaleFor(diagram);
    const std::array<Colour, 256> colours = coloursOfSymbols(diagram);
    const std::vector<LegendEntry> legend = legendOf(diagram, colours, scale);
    const int width = std::max(scale.columns * scale.cellSize, narrowestPicture);
    const int top = legendHeight(legend, width);
    Picture picture(width, top + static_cast<int>(diagram.rows.size()) * scale.cellSize);
    drawLegend(picture, legend);

    TapeColumns tape(diagram, colours, scale);
    int y = top;
    for (const SpaceTimeDiagram::Row& row : diagram.rows) {
        const auto headCell = static_cast<std::size_t>(row.head - diagram.leftmost);
        const std::size_t headColumn = headCell / static_cast<std::size_t>(scale.cellsPerPixel);
        for (std::size_t column = 0; column < static_cast<std::size_t>(scale.columns); ++column) {
            const Colour colour = column == headColumn ? stateColour(row.state) : tape[column];
            const int x = static_cast<int>(column) * scale.cellSize;
            picture.fill(x, y, x + scale.cellSize, y + 1, colour);
        }
        // A cell is as tall as it is wide: the rest of its pixel rows repeat the first.
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
        for (int copy = 1; copy < scale.cellSize; ++copy) {
            std::memcpy(picture.pixel(0, y + copy), picture.pixel(0, y), rowBytes);
        }
        y += scale.cellSize;
        tape.write(headCell, row.written);
    }
    return picture;
}
