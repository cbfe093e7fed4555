// A dealt position read off the board once, every face known: tiles become
// indices 0..n-1 in scan order, and for every tile the tiles lying on it
// (next layer up, overlapping even by one cell), touching its left side and
// touching its right side are kept as sets. A tile is free when none of the
// tiles on it is present and the tiles of one of its sides are all gone,
// which is the board's own rule, answered with a few word operations. Faces
// become matching groups: every suit or honour face its own group, all
// flowers one, all seasons one.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solver/Bits.h"

namespace plitar {
class modPlitar;
}

namespace plitar::solver {

// One tile of a position, in scan order.
struct Tile {
    int16_t x = 0, y = 0, z = 0;
    int16_t face = 0;    // face code as on the board
    int16_t number = 0;  // tile number as on the board
};

// Matching class of a face: suit and honour faces 1..34 are their own class
// (0..33), flowers 34, seasons 35; a code no deal gives out matches only itself.
int matchClass(int face);

class Problem {
public:
    // The tiles in scan order (layer, row, column); at most 144.
    explicit Problem(std::vector<Tile> tiles);
    // The tiles on a board (aMap != 0), in scan order.
    static Problem fromBoard(const modPlitar& game);

    int size() const { return n_; }
    const Tile& tile(int i) const { return tiles_[static_cast<std::size_t>(i)]; }
    const Bits& all() const { return all_; }

    bool isFree(int i, const Bits& present) const
    {
        const Links& l = links_[static_cast<std::size_t>(i)];
        // All three tests, joined without branches: which way each goes is
        // hard to foretell.
        return (!l.above.intersects(present)) & ((!l.left.intersects(present)) | (!l.right.intersects(present)));
    }
    Bits freeSet(const Bits& present) const;
    // Unordered pairs of free matching tiles, lowest first, in scan order.
    std::vector<std::pair<int, int>> openPairs(const Bits& present) const;

    const Bits& above(int i) const { return links_[static_cast<std::size_t>(i)].above; }
    const Bits& left(int i) const { return links_[static_cast<std::size_t>(i)].left; }
    const Bits& right(int i) const { return links_[static_cast<std::size_t>(i)].right; }
    // Tiles whose freedom depends on tile i (i lies on them or touches a side).
    const Bits& dependents(int i) const { return links_[static_cast<std::size_t>(i)].deps; }
    // Tiles that must be gone before tile i can be free: the tiles on it, the
    // tiles on those, and so on.
    const Bits& mustGoFirst(int i) const { return closure_[static_cast<std::size_t>(i)]; }
    // Tiles of its own layer that close tile i's left side while they are on
    // the board: its left neighbours, theirs, and so on (while both ends of
    // such a chain are present, every tile between them is blocked too).
    const Bits& leftReach(int i) const { return leftReach_[static_cast<std::size_t>(i)]; }
    const Bits& rightReach(int i) const { return rightReach_[static_cast<std::size_t>(i)]; }
    // What must be gone to open tile i's left (right) side: the reach and
    // everything that must go before those tiles.
    const Bits& leftNeed(int i) const { return leftNeed_[static_cast<std::size_t>(i)]; }
    const Bits& rightNeed(int i) const { return rightNeed_[static_cast<std::size_t>(i)]; }
    // What must be gone before tile i can be taken off together with tile
    // `partner` of its group, both present: the tiles on it, and the far side
    // when the partner closes the near one.
    Bits needWith(int i, int partner) const
    {
        Bits m = mustGoFirst(i);
        if (leftReach(i).test(partner))
            m |= rightNeed(i);
        if (rightReach(i).test(partner))
            m |= leftNeed(i);
        return m;
    }

    // Whether tiles a and b of one group can never leave together: one must
    // go before the other can be free, directly, through a stack, or because
    // one closes a side of the other whose far side must open first. Worked
    // out once for every two tiles of a group.
    bool pairDead(int a, int b) const { return deadWith_[static_cast<std::size_t>(a)].test(b); }

    int groupCount() const { return static_cast<int>(groups_.size()); }
    int groupOf(int i) const { return group_[static_cast<std::size_t>(i)]; }
    const Bits& groupMembers(int g) const { return groups_[static_cast<std::size_t>(g)]; }

private:
    void linkNeighbours();
    void closeOverStacks();
    void reachAlongRows();
    void sortIntoGroups();
    void markDeadPairs();

    int n_ = 0;
    std::vector<Tile> tiles_;
    Bits all_;
    // What the free test and the moves read, one tile's sets side by side.
    struct Links {
        Bits above, left, right, deps;
    };
    std::vector<Links> links_;
    std::vector<Bits> closure_, leftReach_, rightReach_, leftNeed_, rightNeed_;
    std::vector<int> group_;
    std::vector<Bits> groups_;
    std::vector<Bits> deadWith_;
};

}  // namespace plitar::solver
