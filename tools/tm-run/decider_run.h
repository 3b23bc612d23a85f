#ifndef ZARN_TOOLS_TM_RUN_DECIDER_RUN_H
#define ZARN_TOOLS_TM_RUN_DECIDER_RUN_H

#include <cstdint>
#include <vector>

#include "tools/tm-run/decider_machine.h"

// A whole configuration: state, head and tape, stepped one transition at a
// time. The tape grows as the head goes; cells never written are blank.
class DeciderRun {
public:
    explicit DeciderRun(const DeciderMachine& machine);

    // Makes one step; false when it halted. The halting step counts, and a
    // defined one writes and moves; the state stays the one that halted.
    bool step();

    std::int64_t steps() const { return steps_; }
    int state() const { return state_; }
    std::int64_t head() const { return head_; }
    std::uint8_t cell(std::int64_t position) const {
        const std::int64_t index = position - origin;
        return index < 0 || index >= static_cast<std::int64_t>(cells.size()) ? 0 : cells[index];
    }
    std::uint8_t read() const { return cell(head_); }
    // The positions the head has visited.
    std::int64_t leftmost() const { return leftmost_; }
    std::int64_t rightmost() const { return rightmost_; }
    // Same state, head and cells, blank cells beyond the ends included.
    bool sameConfiguration(const DeciderRun& other) const;
    const DeciderMachine& machine() const { return *machine_; }

private:
    const DeciderMachine* machine_;
    std::vector<std::uint8_t> cells;
    std::int64_t origin = 0;  // the position of cells[0]
    std::int64_t head_ = 0;
    std::int64_t leftmost_ = 0;
    std::int64_t rightmost_ = 0;
    std::int64_t steps_ = 0;
    int state_ = 0;
};

#endif
