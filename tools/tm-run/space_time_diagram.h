#ifndef ZARN_TOOLS_TM_RUN_SPACE_TIME_DIAGRAM_H
#define ZARN_TOOLS_TM_RUN_SPACE_TIME_DIAGRAM_H

#include <cstdint>
#include <string>
#include <vector>

#include "engine/machine_runner.h"

// What the first steps of a run did, enough to draw them: one row per
// configuration from the start on. Each step changes at most the cell under
// the head, so a row holds the head, its state and what it left in that cell.
struct SpaceTimeDiagram {
    struct Row {
        std::int32_t head;
        std::uint32_t state;  // index into `states`
        char written;         // the head's cell once the step from this row is done
    };
    std::vector<Row> rows;
    std::vector<std::string> states;  // in the order the run first enters them
    // The cells the head visited, from the leftmost, as the head first found each.
    std::int32_t leftmost = 0;
    std::string cells;
};

// Steps a runner whose last parse succeeded through at most `steps` steps,
// fewer when it finishes first.
SpaceTimeDiagram recordDiagram(MachineRunner& runner, std::int64_t steps);

#endif
