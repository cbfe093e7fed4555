// One board grid: a 16-bit value for every cell over the declared ranges
// x -1..50, y -1..30, z -1..10, stored flat with x varying fastest, and the
// scan order over the playable cells. Reads outside the declared ranges
// answer 0, so the neighbour tests may look past the edge of the board freely.
#pragma once

#include <array>
#include <cstdint>

namespace plitar {

class Grid {
public:
    static constexpr int kXMin = -1, kXMax = 50;
    static constexpr int kYMin = -1, kYMax = 30;
    static constexpr int kZMin = -1, kZMax = 10;
    static constexpr int kWidth = kXMax - kXMin + 1;   // 52
    static constexpr int kHeight = kYMax - kYMin + 1;  // 32
    static constexpr int kDepth = kZMax - kZMin + 1;   // 12
    static constexpr int kCells = kWidth * kHeight * kDepth;

    static constexpr bool inRange(int x, int y, int z)
    {
        return x >= kXMin && x <= kXMax && y >= kYMin && y <= kYMax && z >= kZMin && z <= kZMax;
    }
    // Flat index of a cell in the declared ranges.
    static constexpr int indexOf(int x, int y, int z)
    {
        return ((z - kZMin) * kHeight + (y - kYMin)) * kWidth + (x - kXMin);
    }

    int16_t operator()(int x, int y, int z) const
    {
        return inRange(x, y, z) ? cells_[static_cast<std::size_t>(indexOf(x, y, z))] : int16_t{0};
    }
    int16_t atIndex(int i) const { return cells_[static_cast<std::size_t>(i)]; }

    // Writes outside the declared ranges are dropped: no caller can overrun the grid.
    void set(int x, int y, int z, int16_t v)
    {
        if (inRange(x, y, z))
            setIndex(indexOf(x, y, z), v);
    }
    void setIndex(int i, int16_t v)
    {
        cells_[static_cast<std::size_t>(i)] = v;
        ++generation_;
    }
    void clear()
    {
        cells_.fill(0);
        ++generation_;
    }

    // Grows with every write; lets a reader that keeps something derived from
    // the grid (a list of the occupied cells) know when it has gone stale.
    uint64_t generation() const { return generation_; }

private:
    std::array<int16_t, kCells> cells_{};
    uint64_t generation_ = 0;
};

// Visits the playable cells x 1..50, y 1..30, z 1..10 in scan order (layer,
// then row, then column innermost) as visit(cell, x, y, z), cell being the
// flat index. Every walk of the board uses this order: the dealer numbers the
// tiles along it and every search finds the first match along it.
template <typename Visit>
void forEachPlayableCell(Visit&& visit)
{
    for (int z = 1; z <= Grid::kZMax; ++z)
        for (int y = 1; y <= Grid::kYMax; ++y) {
            const int row = Grid::indexOf(1, y, z);
            for (int x = 1; x <= Grid::kXMax; ++x)
                visit(row + x - 1, x, y, z);
        }
}

// The same cells in the exact reverse order, the one in which the sprites are
// made, each beneath those before, so that sprite i stands on tile i's cell.
template <typename Visit>
void forEachPlayableCellReversed(Visit&& visit)
{
    for (int z = Grid::kZMax; z >= 1; --z)
        for (int y = Grid::kYMax; y >= 1; --y) {
            const int row = Grid::indexOf(1, y, z);
            for (int x = Grid::kXMax; x >= 1; --x)
                visit(row + x - 1, x, y, z);
        }
}

}  // namespace plitar
