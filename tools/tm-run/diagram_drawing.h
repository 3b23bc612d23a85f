#ifndef ZARN_TOOLS_TM_RUN_DIAGRAM_DRAWING_H
#define ZARN_TOOLS_TM_RUN_DIAGRAM_DRAWING_H

#include "tools/tm-run/picture.h"
#include "tools/tm-run/space_time_diagram.h"

// The width the cells are scaled to, never more.
inline constexpr int diagramWidth = 1000;
// Large cells over many steps would make a picture of gigabytes: cells are
// made smaller rather than the picture taller than this, down to one pixel.
inline constexpr int tallestDiagram = 65536;

// The legend on top, then one row of cells per configuration, the head's cell
// in its state's colour. Where there are more cells than pixels across, each
// pixel shows a run of cells: the head's state if the head is among them,
// otherwise the symbol most of the non-blank ones hold.
Picture drawDiagram(const SpaceTimeDiagram& diagram);

#endif
