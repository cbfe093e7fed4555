// Reading a position into sets: neighbours through a map of cells, then what
// must go before each tile can be free, then the matching groups and the
// pairs of a group that can never leave together.
#include "solver/Problem.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "board/Grid.h"
#include "board/modPlitar.h"

namespace plitar::solver {

int matchClass(int face)
{
    if (face >= 1 && face <= 34)
        return face - 1;
    if (face >= 35 && face <= 38)
        return 34;
    if (face >= 39 && face <= 42)
        return 35;
    return 36 + (face & 0xffff);  // only itself
}

Problem::Problem(std::vector<Tile> tiles) : n_(static_cast<int>(tiles.size())), tiles_(std::move(tiles))
{
    if (n_ > kMaxTiles)
        throw std::invalid_argument("more than 144 tiles");
    linkNeighbours();
    closeOverStacks();
    reachAlongRows();
    sortIntoGroups();
    markDeadPairs();
}

Problem Problem::fromBoard(const modPlitar& game)
{
    std::vector<Tile> tiles;
    tiles.reserve(kMaxTiles);
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        if (const int16_t f = game.aMap.atIndex(cell); f != 0)
            tiles.push_back(Tile{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z), f,
                                 game.aIndex.atIndex(cell)});
    });
    return Problem(std::move(tiles));
}

// The tiles on each tile and beside it, found through a map from cell to
// tile rather than by comparing every two tiles.
void Problem::linkNeighbours()
{
    std::vector<int16_t> at(static_cast<std::size_t>(Grid::kCells), -1);
    const auto look = [&](int x, int y, int z) -> int {
        if (!Grid::inRange(x, y, z))
            return -1;
        return at[static_cast<std::size_t>(Grid::indexOf(x, y, z))];
    };
    for (int i = 0; i < n_; ++i) {
        const Tile& t = tile(i);
        if (!Grid::inRange(t.x, t.y, t.z))
            throw std::invalid_argument("tile off the grid");
        at[static_cast<std::size_t>(Grid::indexOf(t.x, t.y, t.z))] = static_cast<int16_t>(i);
        all_.set(i);
    }
    links_.assign(static_cast<std::size_t>(n_), {});
    for (int i = 0; i < n_; ++i) {
        const Tile& t = tile(i);
        Links& l = links_[static_cast<std::size_t>(i)];
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                if (const int j = look(t.x + dx, t.y + dy, t.z + 1); j >= 0)
                    l.above.set(j);
            if (const int j = look(t.x - 2, t.y + dy, t.z); j >= 0)
                l.left.set(j);
            if (const int j = look(t.x + 2, t.y + dy, t.z); j >= 0)
                l.right.set(j);
        }
    }
    for (int i = 0; i < n_; ++i) {
        const Links& l = links_[static_cast<std::size_t>(i)];
        (l.above | l.left | l.right).forEach([&](int j) { links_[static_cast<std::size_t>(j)].deps.set(i); });
    }
}

namespace {

// The tile indices sorted by key(tile), ties in scan order.
template <typename Key>
std::vector<int> orderedBy(const std::vector<Tile>& tiles, Key key)
{
    std::vector<int> order(tiles.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return key(tiles[static_cast<std::size_t>(a)]) < key(tiles[static_cast<std::size_t>(b)]);
    });
    return order;
}

}  // namespace

// What must go before each tile can be free, higher layers first, so that
// the tiles on a tile have theirs already.
void Problem::closeOverStacks()
{
    closure_.assign(static_cast<std::size_t>(n_), {});
    for (int i : orderedBy(tiles_, [](const Tile& t) { return -t.z; })) {
        Bits c = above(i);
        above(i).forEach([&](int j) { c |= mustGoFirst(j); });
        closure_[static_cast<std::size_t>(i)] = c;
    }
}

// The chains of neighbours along each side, and what opens each side. Left
// neighbours have smaller columns, so a walk by column meets them first, and
// the walk back meets the right ones first.
void Problem::reachAlongRows()
{
    const auto n = static_cast<std::size_t>(n_);
    leftReach_.assign(n, {});
    rightReach_.assign(n, {});
    leftNeed_.assign(n, {});
    rightNeed_.assign(n, {});
    const std::vector<int> byColumn = orderedBy(tiles_, [](const Tile& t) { return t.x; });
    const auto chain = [](std::vector<Bits>& reach, int i, const Bits& side) {
        Bits& r = reach[static_cast<std::size_t>(i)];
        side.forEach([&](int j) {
            r.set(j);
            r |= reach[static_cast<std::size_t>(j)];
        });
    };
    for (int i : byColumn)
        chain(leftReach_, i, left(i));
    for (auto it = byColumn.rbegin(); it != byColumn.rend(); ++it)
        chain(rightReach_, *it, right(*it));
    const auto need = [&](const Bits& reach) {
        Bits m = reach;
        reach.forEach([&](int j) { m |= mustGoFirst(j); });
        return m;
    };
    for (std::size_t k = 0; k < n; ++k) {
        leftNeed_[k] = need(leftReach_[k]);
        rightNeed_[k] = need(rightReach_[k]);
    }
}

// Groups numbered in the order their first tile comes in the scan.
void Problem::sortIntoGroups()
{
    group_.assign(static_cast<std::size_t>(n_), 0);
    std::vector<int> classToGroup;
    for (int i = 0; i < n_; ++i) {
        const auto cls = static_cast<std::size_t>(matchClass(tile(i).face));
        if (classToGroup.size() <= cls)
            classToGroup.resize(cls + 1, -1);
        if (classToGroup[cls] < 0) {
            classToGroup[cls] = static_cast<int>(groups_.size());
            groups_.emplace_back();
        }
        group_[static_cast<std::size_t>(i)] = classToGroup[cls];
        groups_[static_cast<std::size_t>(classToGroup[cls])].set(i);
    }
}

void Problem::markDeadPairs()
{
    deadWith_.assign(static_cast<std::size_t>(n_), {});
    for (const Bits& g : groups_)
        g.forEach([&](int a) {
            g.forEach([&](int b) {
                if (b > a && (needWith(a, b).test(b) || needWith(b, a).test(a))) {
                    deadWith_[static_cast<std::size_t>(a)].set(b);
                    deadWith_[static_cast<std::size_t>(b)].set(a);
                }
            });
        });
}

Bits Problem::freeSet(const Bits& present) const
{
    Bits f;
    present.forEach([&](int i) {
        if (isFree(i, present))
            f.set(i);
    });
    return f;
}

std::vector<std::pair<int, int>> Problem::openPairs(const Bits& present) const
{
    std::vector<std::pair<int, int>> pairs;
    const Bits f = freeSet(present);
    f.forEach([&](int a) {
        f.forEach([&](int b) {
            if (b > a && groupOf(a) == groupOf(b))
                pairs.emplace_back(a, b);
        });
    });
    return pairs;
}

}  // namespace plitar::solver
