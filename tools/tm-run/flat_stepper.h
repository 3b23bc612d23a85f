#ifndef ZARN_TOOLS_TM_RUN_FLAT_STEPPER_H
#define ZARN_TOOLS_TM_RUN_FLAT_STEPPER_H

#include <cstdint>
#include <optional>
#include <string>

#include "tools/tm-run/block_steps.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/tape_cells.h"

// Steps one rule at a time on a flat tape that grows as the head goes, and
// ends as a macro machine does (Finished, Idle or Budget). It runs beside the
// macro machine for machines that blocks do not compress.
class FlatStepper {
public:
    FlatStepper(const CompiledRules& rules, const TapeCells& start, std::int64_t headPosition);

    // Makes at most `count` more steps, never more than `limit` in all.
    // Returns true once the run has ended.
    bool advance(std::int64_t count, std::optional<std::int64_t> limit);

    std::int64_t steps() const { return steps_; }
    std::optional<BlockEnd> end() const { return end_; }
    const std::string& state() const { return rules.name(state_); }
    std::int64_t headPosition() const { return origin + head; }
    char symbol() const { return cells[static_cast<std::size_t>(head)]; }
    TapeCells writtenCells() const { return withoutOuterBlanks({cells, origin}, headPosition()); }

private:
    void makeRoom();

    const CompiledRules& rules;
    std::string cells;
    std::int64_t origin;  // the position of cells[0]
    std::int64_t head;    // an index into cells
    StateIndex state_;
    std::int64_t steps_ = 0;
    std::optional<BlockEnd> end_;
};

#endif
