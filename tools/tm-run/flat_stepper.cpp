#include "tools/tm-run/flat_stepper.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

namespace {

// Each new tape is this many times as long as the one it replaces.
constexpr std::int64_t growth = 4;

}  // namespace

FlatStepper::FlatStepper(const CompiledRules& rules, const TapeCells& start,
                         std::int64_t headPosition, std::int64_t room)
    : rules(rules), table(std::size_t{rules.stateCount()} * symbolCodes) {
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        for (std::uint32_t code = 0; code < symbolCodes; ++code) {
            const CompiledRule& rule = rules.rule(state, decoded(static_cast<char>(code)));
            Step& step = table[state * symbolCodes + code];
            step.row = rule.next * symbolCodes;
            step.write = encoded(rule.write);
            step.move = rule.move;
            step.ends = rule.idle || rule.next == rules.finish();
        }
    }
    // The start cells and the head, with the room on both sides.
    const std::int64_t first = std::min(start.firstPosition, headPosition);
    const std::int64_t last = std::max(
        start.firstPosition + static_cast<std::int64_t>(start.cells.size()), headPosition + 1);
    allocate(last - first, 2 * room + (last - first));
    origin = first - (size - (last - first)) / 2;
    head = headPosition - origin;
    std::transform(start.cells.begin(), start.cells.end(),
                   cells.get() + (start.firstPosition - origin), encoded);
}

void FlatStepper::allocate(std::int64_t written, std::int64_t wanted) {
    // A system short of address space gets a shorter tape, down to one with a
    // cell to each side of the written ones.
    for (std::int64_t length = wanted;; length = std::max(length / 2, written + 2)) {
        cells.reset(static_cast<char*>(std::calloc(static_cast<std::size_t>(length), 1)));
        if (cells) {
            size = length;
            return;
        }
        if (length == written + 2) {
            throw std::bad_alloc();
        }
    }
}

void FlatStepper::makeRoom() {
    if (head >= 0 && head < size) {
        return;
    }
    // The written cells go in the middle of the new tape.
    auto written = std::move(cells);
    const std::int64_t writtenSize = size;
    allocate(writtenSize, growth * writtenSize);
    const std::int64_t shift = (size - writtenSize) / 2;
    std::memcpy(cells.get() + shift, written.get(), static_cast<std::size_t>(writtenSize));
    origin -= shift;
    head += shift;
}

bool FlatStepper::advance(std::int64_t count, std::optional<std::int64_t> limit) {
    if (end_) {
        return true;
    }
    const std::int64_t stop = limit && *limit - steps_ < count ? *limit : steps_ + count;
    // Locals, not members: a write to a char cell could alias any member, and
    // the loop would reload them all at every step.
    const Step* const steps = table.data();
    while (steps_ < stop && !end_) {
        char* const tape = cells.get();
        const auto edge = static_cast<std::uint64_t>(size);
        std::int64_t at = head;
        std::uint32_t state = row;
        std::int64_t made = steps_;
        bool ending = false;
        while (made < stop) {
            const Step& step = steps[state + static_cast<unsigned char>(tape[at])];
            if (step.ends) {
                ending = true;
                break;
            }
            tape[at] = step.write;
            state = step.row;
            at += step.move;
            ++made;
            // One compare for both edges: left of 0 wraps to a huge index.
            if (static_cast<std::uint64_t>(at) >= edge) {
                break;
            }
        }
        if (ending) {
            const Step& step = steps[state + static_cast<unsigned char>(tape[at])];
            if (rules.rule(state / symbolCodes, decoded(tape[at])).idle) {
                end_ = BlockEnd::Idle;
            } else {
                tape[at] = step.write;
                state = step.row;
                at += step.move;
                ++made;
                end_ = BlockEnd::Finished;
            }
        }
        head = at;
        row = state;
        steps_ = made;
        makeRoom();
    }
    if (!end_ && limit && steps_ == *limit) {
        end_ = BlockEnd::Budget;
    }
    return end_.has_value();
}

TapeCells FlatStepper::writtenCells() const {
    // Only the written stretch is read: the rest of the room may never have
    // been touched.
    const char* const begin = cells.get();
    const char* const end = begin + size;
    const auto written = [](char cell) { return cell != 0; };
    const char* const first = std::find_if(begin, end, written);
    if (first == end) {
        return {"", headPosition()};
    }
    const char* const last =
        std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), written)
            .base();
    TapeCells tape{std::string(static_cast<std::size_t>(last - first), blankSymbol),
                   origin + (first - begin)};
    std::transform(first, last, tape.cells.begin(), decoded);
    return tape;
}
