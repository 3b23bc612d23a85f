#ifndef ZARN_TOOLS_TM_RUN_FLAT_STEPPER_H
#define ZARN_TOOLS_TM_RUN_FLAT_STEPPER_H

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/tm-run/block_steps.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/tape_cells.h"

// Steps one rule at a time on a flat tape that grows as the head goes, and
// ends as a macro machine does (Finished, Idle or Budget), or OutOfMemory
// when the tape would grow past `mostCells`, which leaves it of no more use. It runs beside the
// macro machine for machines that blocks do not compress, so it has to be
// faster than the engine's own stepping.
class FlatStepper {
public:
    // The tape starts with `room` blank cells on each side of the start cells
    // and the head; past them, it is copied into a longer one. Room never
    // reached costs only address space: its pages are mapped only once the
    // head writes to them.
    FlatStepper(const CompiledRules& rules, const TapeCells& start, std::int64_t headPosition,
                std::int64_t room, std::int64_t mostCells = memoryCeilingBytes);

    // Makes at most `count` more steps, never more than `limit` in all.
    // Returns true once the run has ended.
    bool advance(std::int64_t count, std::optional<std::int64_t> limit);

    std::int64_t steps() const { return steps_; }
    std::optional<BlockEnd> end() const { return end_; }
    const std::string& state() const { return rules.name(stateIndex(current)); }
    std::int64_t headPosition() const { return origin + head; }
    char symbol() const { return decoded(cells.get()[head]); }
    TapeCells writtenCells() const;

private:
    // Cells hold each symbol XOR the blank, so that a blank cell is a zero
    // byte: fresh memory from calloc is blank tape, and its pages cost
    // nothing until the head first reaches them.
    static char encoded(char symbol) { return static_cast<char>(symbol ^ blankSymbol); }
    static char decoded(char cell) { return static_cast<char>(cell ^ blankSymbol); }

    // A rule as the loop wants it. A state's rules lie together, one for each
    // symbol that can ever be on the tape, the blank first, and the loop finds
    // the one for the symbol read by comparing with each in turn. As branches,
    // the processor guesses which one matches and goes on with the next step
    // before the cell is read. An index computed from the cell makes every
    // step wait for the read: measured, nearly twice as slow.
    struct Step {
        const Step* next;  // the first rule of the next state
        char symbol;       // encoded, as is `write`
        char write;
        std::int8_t move;
        bool ends;  // idle, or leads into the finish state
    };
    // The block behind the tape starts one cell before it.
    struct Free {
        void operator()(char* cells) const { std::free(cells - 1); }
    };

    StateIndex stateIndex(const Step* first) const {
        return static_cast<StateIndex>(static_cast<std::size_t>(first - table.data()) /
                                       symbolCount);
    }
    // `wanted` cells, or fewer within the ceiling, but a cell to each side of
    // the `written` ones.
    std::int64_t longestAllowed(std::int64_t written, std::int64_t wanted) const;
    // A blank tape of at most `wanted` cells, and more than `written`.
    void allocate(std::int64_t written, std::int64_t wanted);
    void makeRoom();

    const CompiledRules& rules;
    const std::int64_t mostCells;
    std::size_t symbolCount = 0;
    std::vector<Step> table;  // by state, then symbol
    const Step* current = nullptr;
    std::unique_ptr<char[], Free> cells;
    std::int64_t size = 0;
    std::int64_t origin = 0;  // the position of cells[0]
    std::int64_t head = 0;    // an index into cells
    std::int64_t steps_ = 0;
    std::optional<BlockEnd> end_;
};

#endif
