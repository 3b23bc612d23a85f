#include "tools/tm-run/flat_stepper.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>

namespace {

// Each new tape is this many times as long as the one it replaces.
constexpr std::int64_t growth = 4;

}  // namespace

FlatStepper::FlatStepper(const CompiledRules& rules, const TapeCells& start,
                         std::int64_t headPosition, std::int64_t room, std::int64_t mostCells)
    : rules(rules), mostCells(mostCells) {
    // The blank, what the tape starts with and what rules write.
    std::array<bool, 256> onTape{};
    onTape[static_cast<unsigned char>(blankSymbol)] = true;
    for (const char symbol : start.cells) {
        onTape[static_cast<unsigned char>(symbol)] = true;
    }
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        for (int code = 0; code < 256; ++code) {
            const CompiledRule& rule = rules.rule(state, static_cast<char>(code));
            onTape[static_cast<unsigned char>(rule.write)] |= !rule.idle;
        }
    }
    std::vector<char> symbols{blankSymbol};
    for (int code = 0; code < 256; ++code) {
        if (onTape[static_cast<std::size_t>(code)] && static_cast<char>(code) != blankSymbol) {
            symbols.push_back(static_cast<char>(code));
        }
    }
    symbolCount = symbols.size();
    table.resize(rules.stateCount() * symbolCount);
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        for (std::size_t index = 0; index < symbolCount; ++index) {
            const CompiledRule& rule = rules.rule(state, symbols[index]);
            table[state * symbolCount + index] = {
                &table[rule.next * symbolCount], encoded(symbols[index]), encoded(rule.write),
                rule.move, rule.idle || rule.next == rules.finish()};
        }
    }
    current = &table[rules.start() * symbolCount];
    // The start cells and the head, with the room on both sides.
    const std::int64_t first = std::min(start.firstPosition, headPosition);
    const std::int64_t last = std::max(
        start.firstPosition + static_cast<std::int64_t>(start.cells.size()), headPosition + 1);
    allocate(last - first, longestAllowed(last - first, 2 * room + (last - first)));
    origin = first - (size - (last - first)) / 2;
    head = headPosition - origin;
    std::transform(start.cells.begin(), start.cells.end(),
                   cells.get() + (start.firstPosition - origin), encoded);
}

std::int64_t FlatStepper::longestAllowed(std::int64_t written, std::int64_t wanted) const {
    return std::max(std::min(wanted, mostCells), written + 2);
}

void FlatStepper::allocate(std::int64_t written, std::int64_t wanted) {
    // A system short of address space gets a shorter tape, down to one with a
    // cell to each side of the written ones. Pointers into the tape must be
    // able to tell its ends apart, which bounds it on a 32-bit system.
    for (std::int64_t length = wanted;; length = std::max(length / 2, written + 2)) {
        if (static_cast<std::uint64_t>(length) < PTRDIFF_MAX) {
            // One cell more in front: the loop points there when the head
            // steps off the left edge, and a pointer must stay inside its block.
            auto* block = static_cast<char*>(std::calloc(static_cast<std::size_t>(length) + 1, 1));
            cells.reset(block ? block + 1 : nullptr);
        }
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
    // A run that has ended still gets the cell that its last step moved to.
    if (size >= mostCells && !end_) {
        end_ = BlockEnd::OutOfMemory;
        return;
    }
    // The written cells go in the middle of the new tape.
    auto written = std::move(cells);
    const std::int64_t writtenSize = size;
    allocate(writtenSize, longestAllowed(writtenSize, growth * writtenSize));
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
    while (steps_ < stop && !end_) {
        char* const tape = cells.get();
        const auto edge = static_cast<std::uint64_t>(size);
        char* at = tape + head;
        const Step* state = current;
        std::int64_t made = steps_;
        const Step* ending = nullptr;
        while (made < stop) {
            const Step* step = state;
            while (step->symbol != *at) {
                ++step;
            }
            if (step->ends) {
                ending = step;
                break;
            }
            *at = step->write;
            state = step->next;
            if (step->move < 0) {
                --at;
            } else if (step->move > 0) {
                ++at;
            }
            ++made;
            // One compare for both edges: left of the tape wraps to a huge index.
            if (static_cast<std::uint64_t>(at - tape) >= edge) {
                break;
            }
        }
        if (ending != nullptr) {
            if (rules.rule(stateIndex(state), decoded(*at)).idle) {
                end_ = BlockEnd::Idle;
            } else {
                *at = ending->write;
                state = ending->next;
                at += ending->move;
                ++made;
                end_ = BlockEnd::Finished;
            }
        }
        head = at - tape;
        current = state;
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
