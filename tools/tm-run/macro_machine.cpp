#include "tools/tm-run/macro_machine.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "tools/tm-run/big_count.h"

namespace {

std::int64_t blockOf(std::int64_t position, int blockSize) {
    const std::int64_t quotient = position / blockSize;
    return position % blockSize < 0 ? quotient - 1 : quotient;
}

}  // namespace

MacroMachine::MacroMachine(const CompiledRules& rules, int blockSize, const TapeCells& cells,
                           std::int64_t headPosition, std::optional<std::int64_t> limit,
                           std::int64_t mostBytes)
    : rules(rules),
      blockSize_(blockSize),
      mostBytes(mostBytes),
      prover([this](StateIndex state, bool fromLeft, BlockId block) {
          return crossingFor(state, fromLeft, block);
      }) {
    if (limit) {
        this->limit = bigOf(*limit);
    }
    BlockHead blank;
    std::fill_n(blank.cells.begin(), blockSize_, blankSymbol);
    idOf(blank);

    const std::int64_t tapeEnd =
        cells.firstPosition + static_cast<std::int64_t>(cells.cells.size());
    const std::int64_t firstBlock =
        blockOf(std::min(cells.firstPosition, headPosition), blockSize_);
    const std::int64_t lastWritten = blockOf(std::max(tapeEnd - 1, headPosition), blockSize_);
    const std::int64_t headBlock = blockOf(headPosition, blockSize_);
    const auto blockAt = [&](std::int64_t block, int offset) {
        BlockHead head = blank;
        head.state = rules.start();
        head.offset = offset;
        for (int cell = 0; cell < blockSize_; ++cell) {
            const std::int64_t index = block * blockSize_ + cell - cells.firstPosition;
            if (index >= 0 && index < static_cast<std::int64_t>(cells.cells.size())) {
                head.cells[cell] = cells.cells[static_cast<std::size_t>(index)];
            }
        }
        return head;
    };
    leftEnd = bigOf(firstBlock - headBlock);
    for (std::int64_t block = firstBlock; block < headBlock; ++block) {
        put(tape.left, idOf(blockAt(block, 0)), one);
    }
    for (std::int64_t block = lastWritten; block > headBlock; --block) {
        put(tape.right, idOf(blockAt(block, 0)), one);
    }
    startBlock = blockAt(headBlock, static_cast<int>(headPosition - headBlock * blockSize_));
    startOrigin = headBlock * blockSize_;
}

BlockId MacroMachine::idOf(const BlockHead& head) {
    std::uint64_t cells = 0;
    std::memcpy(&cells, head.cells.data(), sizeof cells);
    const auto [found, added] =
        blockIds.try_emplace(cells, static_cast<BlockId>(blockCells.size()));
    if (added) {
        blockCells.push_back(cells);
    }
    return found->second;
}

std::string MacroMachine::blockText(BlockId block) const {
    return std::string(headIn(block, 0, 0).cells.data(), static_cast<std::size_t>(blockSize_));
}

BlockHead MacroMachine::headIn(BlockId block, StateIndex state, int offset) const {
    BlockHead head;
    head.state = state;
    head.offset = offset;
    std::memcpy(head.cells.data(), &blockCells[block], sizeof blockCells[block]);
    return head;
}

const Crossing* MacroMachine::crossingFor(StateIndex state, bool fromLeft, BlockId block) {
    const std::uint64_t key = crossingKey(state, fromLeft, block);
    if (const auto known = crossings.find(key); known != crossings.end()) {
        return &known->second;
    }
    BlockHead head = headIn(block, state, fromLeft ? 0 : blockSize_ - 1);
    std::int64_t made = 0;
    const BlockEnd end = runInBlock(rules, blockSize_, head, std::nullopt, made);
    if (end != BlockEnd::ExitLeft && end != BlockEnd::ExitRight) {
        return nullptr;
    }
    const Crossing crossing{idOf(head), head.state, end == BlockEnd::ExitRight, made};
    return &crossings.emplace(key, crossing).first->second;
}

void MacroMachine::take(std::vector<TapeRun>& stack, const mpz_class& count) {
    if (stack.empty()) {
        // Blank blocks from beyond the end of the tape kept.
        if (&stack == &tape.left) {
            leftEnd -= count;
        }
    } else if ((stack.back().count -= count) == 0) {
        stack.pop_back();
    }
}

void MacroMachine::put(std::vector<TapeRun>& stack, BlockId block, const mpz_class& count) {
    if (!stack.empty() && stack.back().block == block) {
        stack.back().count += count;
    } else if (!stack.empty() || block != 0) {
        stack.push_back({block, count});
    } else if (&stack == &tape.left) {
        leftEnd += count;
    }
}

void MacroMachine::put(std::vector<TapeRun>& stack, BlockId block, mpz_class&& count) {
    if (stack.empty() ? block != 0 : stack.back().block != block) {
        stack.push_back({block, std::move(count)});
    } else {
        put(stack, block, std::as_const(count));
    }
}

std::optional<std::int64_t> MacroMachine::budget() const {
    if (!limit) {
        return std::nullopt;
    }
    return *int64Of(*limit - steps_);
}

std::int64_t MacroMachine::keptBytes() const {
    // A generous guess at each run, known crossing and known block on a
    // 64-bit system, with its share of the containers around it.
    constexpr std::int64_t bytesPerEntry = 64;
    return static_cast<std::int64_t>(runCount() + crossings.size() + blockCells.size()) *
           bytesPerEntry;
}

bool MacroMachine::leaveStartBlock(BlockHead head) {
    std::int64_t made = 0;
    const BlockEnd end = runInBlock(rules, blockSize_, head, budget(), made);
    steps_ += bigOf(made);
    tape.state = head.state;
    if (end == BlockEnd::ExitRight) {
        put(tape.left, idOf(head), one);
        tape.facingRight = true;
    } else if (end == BlockEnd::ExitLeft) {
        put(tape.right, idOf(head), one);
        tape.facingRight = false;
    } else {
        endIn(head, edge(), end);
    }
    return ended();
}

bool MacroMachine::advance(std::int64_t macroSteps) {
    if (ended()) {
        return true;
    }
    if (startBlock) {
        const BlockHead head = *startBlock;
        startBlock.reset();
        if (leaveStartBlock(head)) {
            return true;
        }
    }
    std::optional<mpz_class> remaining;
    for (; macroSteps > 0; --macroSteps) {
        if (keptBytes() > mostBytes) {
            endAhead(BlockEnd::OutOfMemory);
            return true;
        }
        if (limit) {
            remaining = *limit - steps_;
        }
        if (const auto jump = prover.consider(tape, remaining)) {
            if (jump->endless) {
                endAhead(BlockEnd::Endless);
                return true;
            }
            steps_ += jump->steps;
            leftEnd += jump->shift;
            leftEnd -= jump->leftGrowth;
            continue;
        }
        std::vector<TapeRun>& ahead = tape.ahead();
        const BlockId block = topOf(ahead);
        const Crossing* crossing = crossingFor(tape.state, tape.facingRight, block);
        if (crossing == nullptr || (remaining && bigOf(crossing->steps) > *remaining)) {
            BlockHead head = headIn(block, tape.state, tape.facingRight ? 0 : blockSize_ - 1);
            std::int64_t made = 0;
            const BlockEnd end = runInBlock(rules, blockSize_, head, budget(), made);
            const mpz_class edgeNow = edge();
            take(ahead, one);
            steps_ += bigOf(made);
            endIn(head, tape.facingRight ? edgeNow : edgeNow - 1, end);
            return true;
        }

        const bool onward = crossing->exitRight == tape.facingRight;
        std::vector<TapeRun>& behind = crossing->exitRight ? tape.left : tape.right;
        if (crossing->next == tape.state && onward) {
            if (ahead.empty() && !remaining) {
                // Over the blank tape in the same state, with no limit: for ever.
                endAhead(BlockEnd::Endless);
                return true;
            }
            // Without a limit the whole run goes over: it is moved, not copied.
            mpz_class count;
            if (remaining) {
                count = ahead.empty() ? *remaining : ahead.back().count;
                count = std::min<mpz_class>(count, *remaining / bigOf(crossing->steps));
                take(ahead, count);
            } else {
                count.swap(ahead.back().count);
                ahead.pop_back();
            }
            mpz_addmul(steps_.get_mpz_t(), count.get_mpz_t(), bigOf(crossing->steps).get_mpz_t());
            put(behind, crossing->write, std::move(count));
        } else {
            take(ahead, one);
            put(behind, crossing->write, one);
            addSmall(steps_, crossing->steps);
        }
        tape.facingRight = crossing->exitRight;
        tape.state = crossing->next;
    }
    return false;
}

mpz_class MacroMachine::edge() const {
    mpz_class index = leftEnd;
    for (const TapeRun& run : tape.left) {
        index += run.count;
    }
    return index;
}

mpz_class MacroMachine::positionOf(const mpz_class& block, int offset) const {
    return block * blockSize_ + bigOf(startOrigin) + offset;
}

const std::string& MacroMachine::state() const {
    return rules.name(ended() ? last.state : startBlock ? startBlock->state : tape.state);
}

mpz_class MacroMachine::headPosition() const {
    if (ended()) {
        return positionOf(lastBlock, last.offset);
    }
    if (startBlock) {
        return positionOf(edge(), startBlock->offset);
    }
    return tape.facingRight ? positionOf(edge(), 0) : positionOf(edge() - 1, blockSize_ - 1);
}

void MacroMachine::endAhead(BlockEnd end) {
    std::vector<TapeRun>& ahead = tape.ahead();
    const BlockHead head = headIn(topOf(ahead), tape.state, tape.facingRight ? 0 : blockSize_ - 1);
    lastBlock = tape.facingRight ? edge() : edge() - 1;
    take(ahead, one);
    end_ = end;
    last = head;
}

// A run can end with the head just outside the block it was working on, when
// the rule that finished it moved the head: it then stands in the neighbour.
void MacroMachine::endIn(BlockHead head, mpz_class block, BlockEnd end) {
    if (head.offset < 0) {
        put(tape.right, idOf(head), one);
        head = headIn(topOf(tape.left), head.state, blockSize_ - 1);
        take(tape.left, one);
        block -= 1;
    } else if (head.offset >= blockSize_) {
        put(tape.left, idOf(head), one);
        head = headIn(topOf(tape.right), head.state, 0);
        take(tape.right, one);
        block += 1;
    }
    end_ = end;
    last = head;
    lastBlock = std::move(block);
}

std::vector<MacroMachine::Stretch> MacroMachine::line(mpz_class& firstBlock) const {
    std::vector<Stretch> stretches;
    firstBlock = ended() ? lastBlock : edge();
    for (const TapeRun& run : tape.left) {
        stretches.push_back({blockCells[run.block], &run.count});
        firstBlock -= run.count;
    }
    if (ended()) {
        stretches.push_back({0, &one});
        std::memcpy(&stretches.back().cells, last.cells.data(), sizeof stretches.back().cells);
    } else if (startBlock) {
        stretches.push_back({0, &one});
        std::memcpy(&stretches.back().cells, startBlock->cells.data(),
                    sizeof stretches.back().cells);
    }
    for (auto run = tape.right.rbegin(); run != tape.right.rend(); ++run) {
        stretches.push_back({blockCells[run->block], &run->count});
    }
    return stretches;
}

std::optional<TapeCells> MacroMachine::writtenCells(std::int64_t maxCells) const {
    mpz_class firstBlock;
    const std::vector<Stretch> stretches = line(firstBlock);
    const auto written = [&](const Stretch& stretch) { return stretch.cells != blockCells[0]; };
    const auto first = std::find_if(stretches.begin(), stretches.end(), written);
    if (first == stretches.end()) {
        const auto head = int64Of(headPosition());
        return head ? std::optional<TapeCells>(TapeCells{"", *head}) : std::nullopt;
    }
    const auto end = std::find_if(stretches.rbegin(), stretches.rend(), written).base();
    for (auto stretch = stretches.begin(); stretch < first; ++stretch) {
        firstBlock += *stretch->count;
    }
    mpz_class blocks = 0;
    for (auto stretch = first; stretch < end; ++stretch) {
        blocks += *stretch->count;
    }
    const auto firstPosition = int64Of(positionOf(firstBlock, 0));
    if (blocks * blockSize_ > bigOf(maxCells) || !firstPosition) {
        return std::nullopt;
    }

    TapeCells cells{"", *firstPosition};
    cells.cells.reserve(static_cast<std::size_t>(*int64Of(blocks * blockSize_)));
    for (auto stretch = first; stretch < end; ++stretch) {
        for (std::int64_t i = *int64Of(*stretch->count); i > 0; --i) {
            cells.cells.append(reinterpret_cast<const char*>(&stretch->cells),
                               static_cast<std::size_t>(blockSize_));
        }
    }
    return cells;
}

TapeCounts MacroMachine::counts() const {
    mpz_class firstBlock;
    const std::vector<Stretch> stretches = line(firstBlock);
    TapeCounts result;
    const auto cellsOf = [&](const Stretch& stretch) {
        std::array<char, sizeof(std::uint64_t)> cells{};
        std::memcpy(cells.data(), &stretch.cells, cells.size());
        return cells;
    };
    // The first and last non-blank cells of the whole line.
    std::optional<std::size_t> firstStretch;
    std::size_t lastStretch = 0;
    int firstCell = 0;
    int lastCell = 0;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        const auto cells = cellsOf(stretches[i]);
        for (int cell = 0; cell < blockSize_; ++cell) {
            if (cells[cell] != blankSymbol) {
                if (!firstStretch) {
                    firstStretch = i;
                    firstCell = cell;
                }
                lastStretch = i;
                lastCell = cell;
            }
        }
    }
    if (!firstStretch) {
        result.firstPosition = headPosition();
        return result;
    }
    for (std::size_t i = 0; i < *firstStretch; ++i) {
        firstBlock += *stretches[i].count;
    }
    result.firstPosition = positionOf(firstBlock, firstCell);
    for (std::size_t i = *firstStretch; i <= lastStretch; ++i) {
        const auto cells = cellsOf(stretches[i]);
        for (int cell = 0; cell < blockSize_; ++cell) {
            result.symbols[static_cast<unsigned char>(cells[cell])] += *stretches[i].count;
        }
    }
    // The blanks before the first and after the last non-blank cell are no part of it.
    result.symbols[static_cast<unsigned char>(blankSymbol)] -=
        firstCell + (blockSize_ - 1 - lastCell);
    return result;
}
