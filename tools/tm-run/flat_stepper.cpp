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
    // Locals, not members: a write to a char cell could alias any member, and
    // the loop would reload them all at every step.
    while (steps_ < stop && !end_) {
        char* tape = cells.data();
        const auto size = static_cast<std::int64_t>(cells.size());
        std::int64_t at = head;
        StateIndex state = state_;
        std::int64_t made = steps_;
        const StateIndex finish = rules.finish();
        while (made < stop) {
            const CompiledRule& rule = rules.rule(state, tape[at]);
            if (rule.idle) {
                end_ = BlockEnd::Idle;
                break;
            }
            tape[at] = rule.write;
            state = rule.next;
            at += rule.move;
            ++made;
            if (state == finish) {
                end_ = BlockEnd::Finished;
                break;
            }
            if (at < 0 || at >= size) {
                break;
            }
        }
        head = at;
        state_ = state;
        steps_ = made;
        makeRoom();
    }
    if (!end_ && limit && steps_ == *limit) {
        end_ = BlockEnd::Budget;
    }
    return end_.has_value();
}
