#include "tools/tm-run/flat_stepper.h"

FlatStepper::FlatStepper(const CompiledRules& rules, const TapeCells& start,
                         std::int64_t headPosition)
    : rules(rules), cells(start.cells), origin(start.firstPosition), state_(rules.start()) {
    if (cells.empty()) {
        cells.assign(1, blankSymbol);
        origin = headPosition;
    }
    head = headPosition - origin;
    makeRoom();
}

void FlatStepper::makeRoom() {
    // Twice the room, on the side the head has reached.
    if (head < 0) {
        const auto added = static_cast<std::int64_t>(cells.size());
        cells.insert(0, static_cast<std::size_t>(added), blankSymbol);
        origin -= added;
        head += added;
    } else if (head >= static_cast<std::int64_t>(cells.size())) {
        cells.append(cells.size(), blankSymbol);
    }
}

bool FlatStepper::advance(std::int64_t count, std::optional<std::int64_t> limit) {
    if (end_) {
        return true;
    }
    const std::int64_t stop = limit && *limit - steps_ < count ? *limit : steps_ + count;
    while (steps_ < stop) {
        char& cell = cells[static_cast<std::size_t>(head)];
        const CompiledRule& rule = rules.rule(state_, cell);
        if (rule.idle) {
            end_ = BlockEnd::Idle;
            return true;
        }
        cell = rule.write;
        state_ = rule.next;
        head += rule.move;
        ++steps_;
        if (head < 0 || head >= static_cast<std::int64_t>(cells.size())) {
            makeRoom();
        }
        if (state_ == rules.finish()) {
            end_ = BlockEnd::Finished;
            return true;
        }
    }
    if (limit && steps_ == *limit) {
        end_ = BlockEnd::Budget;
    }
    return end_.has_value();
}
