#include "app/GameTiles.h"

namespace plitar {

void GameTiles::findCells()
{
    if (cellsOf_ == game_.aIndex.generation())
        return;
    cellsOf_ = game_.aIndex.generation();
    order_.clear();
    cells_.fill(Cell{});
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        const int16_t n = game_.aIndex.atIndex(cell);
        if (n < 1 || n > kMaxTiles || cells_[static_cast<size_t>(n)].z != 0)
            return;
        cells_[static_cast<size_t>(n)] = {static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z)};
        order_.push_back(n);
    });
}

TileFacts GameTiles::factsAt(int16_t n, const Cell& c)
{
    TileFacts f;
    f.n = n;
    f.x = c.x;
    f.y = c.y;
    f.z = c.z;
    f.face = game_.aMap(c.x, c.y, c.z);
    f.free = game_.funEnSel(n) == 1;
    // Uncovered: no tile of the layer above overlaps its 2 x 2 cells, the
    // first half of the free test (a free tile is always uncovered).
    f.onTop = true;
    if (!f.free) {
        bool covered = false;
        for (int dy = -1; dy <= 1 && !covered; ++dy)
            for (int dx = -1; dx <= 1 && !covered; ++dx)
                covered = game_.aMap(c.x + dx, c.y + dy, c.z + 1) != 0;
        f.onTop = !covered;
    }
    f.selected = n == game_.nSel1 || n == game_.nSel2;
    return f;
}

const std::vector<TileFacts>& GameTiles::tiles()
{
    findCells();
    facts_.clear();
    for (int16_t n : order_)
        if (game_.aIndex(cells_[static_cast<size_t>(n)].x, cells_[static_cast<size_t>(n)].y,
                         cells_[static_cast<size_t>(n)].z) == n)
            facts_.push_back(factsAt(n, cells_[static_cast<size_t>(n)]));
    return facts_;
}

TileFacts GameTiles::tile(int n)
{
    if (n < 1 || n > kMaxTiles)
        return {};
    findCells();
    const Cell& c = cells_[static_cast<size_t>(n)];
    if (c.z == 0 || game_.aIndex(c.x, c.y, c.z) != n)
        return {};
    return factsAt(static_cast<int16_t>(n), c);
}

}  // namespace plitar
