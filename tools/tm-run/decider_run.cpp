#include "tools/tm-run/decider_run.h"

#include <algorithm>

DeciderRun::DeciderRun(const DeciderMachine& machine)
    : machine_(&machine),
      cells(machine.startTape),
      head_(machine.startHead),
      leftmost_(machine.startHead),
      rightmost_(machine.startHead) {}

bool DeciderRun::step() {
    const DeciderTransition& transition = machine_->at(state_, read());
    ++steps_;
    if (!transition.defined) {
        return false;
    }
    std::int64_t index = head_ - origin;
    if (index < 0 || index >= static_cast<std::int64_t>(cells.size())) {
        // Doubling keeps growth amortised on either side.
        const std::int64_t grow =
            std::max<std::int64_t>(16, static_cast<std::int64_t>(cells.size()));
        if (index < 0) {
            const std::int64_t added = std::max(grow, -index);
            cells.insert(cells.begin(), static_cast<std::size_t>(added), 0);
            origin -= added;
        } else {
            cells.resize(static_cast<std::size_t>(index + grow), 0);
        }
        index = head_ - origin;
    }
    cells[index] = transition.write;
    head_ += transition.move;
    leftmost_ = std::min(leftmost_, head_);
    rightmost_ = std::max(rightmost_, head_);
    if (transition.halts()) {
        return false;
    }
    state_ = transition.next;
    return true;
}

bool DeciderRun::sameConfiguration(const DeciderRun& other) const {
    if (state_ != other.state_ || head_ != other.head_) {
        return false;
    }
    const std::int64_t first = std::min(origin, other.origin);
    const std::int64_t last =
        std::max(origin + static_cast<std::int64_t>(cells.size()),
                 other.origin + static_cast<std::int64_t>(other.cells.size()));
    for (std::int64_t position = first; position < last; ++position) {
        if (cell(position) != other.cell(position)) {
            return false;
        }
    }
    return true;
}
