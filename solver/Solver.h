// An exact solver for a dealt position, every face known.
//
// The position is read off the board once: tiles become indices 0..n-1 in
// scan order, and for every tile the tiles lying on it (next layer up,
// overlapping even by one cell), touching its left side and touching its
// right side are kept as bit masks. A tile is free when none of the tiles on
// it is present and the tiles of one of its sides are all gone, which is the
// board's own rule, answered with a few word operations. Faces become
// matching groups: every suit or honour face its own group, all flowers one,
// all seasons one.
//
// The search chooses partners, not move orders, and keeps a table of nodes
// known to be lost (see Solver.cpp). A run that reaches its time or node limit
// answers Undecided, never a guess.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace plitar {
class modPlitar;
}

namespace plitar::solver {

constexpr int kMaxTiles = 144;

// Bits set in a word, by halves, nibbles and bytes: inline, since without a
// target that has the instruction std::popcount becomes a library call.
constexpr int countBits(uint64_t v)
{
    v = v - ((v >> 1) & 0x5555555555555555ULL);
    v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
    v = (v + (v >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}

// A stable sort for the few entries of a list of choices: unlike
// std::stable_sort it asks for no buffer on every call.
template <typename It, typename Less>
void sortFew(It first, It last, Less less)
{
    for (It i = first; i != last; ++i)
        for (It j = i; j != first && less(*j, *(j - 1)); --j)
            std::iter_swap(j, j - 1);
}

// A set of tile indices 0..143.
struct Bits {
    std::array<uint64_t, 3> w{};

    void set(int i) { w[static_cast<unsigned>(i) >> 6] |= uint64_t{1} << (i & 63); }
    void reset(int i) { w[static_cast<unsigned>(i) >> 6] &= ~(uint64_t{1} << (i & 63)); }
    bool test(int i) const { return (w[static_cast<unsigned>(i) >> 6] >> (i & 63)) & 1; }
    bool any() const { return (w[0] | w[1] | w[2]) != 0; }
    int count() const { return countBits(w[0]) + countBits(w[1]) + countBits(w[2]); }
    bool intersects(const Bits& o) const
    {
        return ((w[0] & o.w[0]) | (w[1] & o.w[1]) | (w[2] & o.w[2])) != 0;
    }
    Bits operator&(const Bits& o) const { return {{w[0] & o.w[0], w[1] & o.w[1], w[2] & o.w[2]}}; }
    Bits operator|(const Bits& o) const { return {{w[0] | o.w[0], w[1] | o.w[1], w[2] | o.w[2]}}; }
    Bits minus(const Bits& o) const { return {{w[0] & ~o.w[0], w[1] & ~o.w[1], w[2] & ~o.w[2]}}; }
    Bits& operator|=(const Bits& o)
    {
        for (int k = 0; k < 3; ++k)
            w[k] |= o.w[k];
        return *this;
    }
    friend bool operator==(const Bits&, const Bits&) = default;

    // Calls f(i) for every member, lowest index first.
    template <typename F>
    void forEach(F&& f) const
    {
        for (int k = 0; k < 3; ++k)
            for (uint64_t v = w[k]; v != 0; v &= v - 1)
                f(k * 64 + std::countr_zero(v));
    }
    int first() const
    {
        for (int k = 0; k < 3; ++k)
            if (w[k] != 0)
                return k * 64 + std::countr_zero(w[k]);
        return -1;
    }
};

// One tile of a position, in scan order.
struct Tile {
    int16_t x = 0, y = 0, z = 0;
    int16_t face = 0;    // face code as on the board
    int16_t number = 0;  // tile number as on the board
};

// Matching class of a face: suit and honour faces 1..34 are their own class
// (0..33), flowers 34, seasons 35; a code no deal gives out matches only itself.
int matchClass(int face);

// A position with its geometry, ready for the search.
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
        const auto k = static_cast<std::size_t>(i);
        const Links& l = links_[k];
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
    // The greedy line's partner for the free tile t: of the free tiles of
    // `rest` (t's group as far as it may still pair, t included) other than
    // t, the one that holds up most tiles of `present` (the first such in
    // scan order), so that the idle ones stay for later; but with four left,
    // not one that leaves two that can never leave together. -1 when there is
    // none.
    int greedyMate(int t, const Bits& rest, const Bits& free, const Bits& present) const;

    int groupCount() const { return static_cast<int>(groups_.size()); }
    int groupOf(int i) const { return group_[static_cast<std::size_t>(i)]; }
    const Bits& groupMembers(int g) const { return groups_[static_cast<std::size_t>(g)]; }

private:
    int n_ = 0;
    std::vector<Tile> tiles_;
    Bits all_;
    // What the free test and the moves read, one tile's masks side by side.
    struct Links {
        Bits above, left, right, deps;
    };
    std::vector<Links> links_;
    std::vector<Bits> above_, left_, right_, deps_, closure_, leftReach_, rightReach_, leftNeed_, rightNeed_;
    std::vector<int> group_;
    std::vector<Bits> groups_;
    std::vector<Bits> deadWith_;
};

enum class Outcome { Won, Lost, Undecided };
const char* outcomeName(Outcome o);

struct Limits {
    double seconds = 10.0;   // 0: none
    uint64_t nodes = 0;      // 0: none
};

struct Result {
    Outcome outcome = Outcome::Undecided;
    std::vector<std::pair<int, int>> moves;  // tile indices; for Won, a line that empties the board
    uint64_t nodes = 0;
};

class PartnerSearch;

// One solver per thread: it owns its tables of lost positions.
//
// A position goes first to the move search, which wins or loses most deals
// within a few thousand positions; what it has not decided after
// kMoveNodes positions goes to the partner search (PartnerSearch.h), slower
// per position but far stronger on the hard ones. Tests can ask for either
// search alone.
class Solver {
public:
    enum class Method { Both, Moves, Partners };
    static constexpr uint64_t kMoveNodes = 1000;
    // The move search's attempts: so many positions each, and after so many
    // attempts one that runs to the end.
    static constexpr uint64_t kAttemptNodes = 40;
    static constexpr int kAttempts = 200;

    // The move search stores at most kMoveNodes positions a deal before it
    // hands over, so 2^14 slots hold them all and stay in the processor's
    // cache, where a table of 2^20 missed it on nearly every look.
    explicit Solver(int tableBits = 14);
    ~Solver();
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;
    Result solve(const Problem& problem, Limits limits = {});
    void setMethod(Method m) { method_ = m; }

private:
    struct Entry {
        Bits present;
        uint32_t stamp = 0;
    };
    bool search(Bits present, Bits free, uint64_t key, int depth);
    void reduce(Bits& present, Bits& free, uint64_t& key);
    void take(Bits& present, Bits& free, uint64_t& key, int a, int b);
    bool groupDead(int g, const Bits& present) const;
    bool relaxedClears(Bits present, Bits free) const;
    bool greedyClears(Bits present, Bits free);
    bool inCycle(int a, int b, const Bits& present) const;
    bool knownLost(uint64_t key, const Bits& present) const;
    void storeLost(uint64_t key, const Bits& present);
    bool outOfTime();

    Method method_ = Method::Both;
    std::unique_ptr<PartnerSearch> partners_;  // made on first need
    const Problem* p_ = nullptr;
    std::vector<Entry> table_;
    uint64_t mask_ = 0;
    uint32_t stamp_ = 0;
    std::array<uint64_t, kMaxTiles> zobrist_{};
    std::vector<std::pair<int, int>> path_;
    struct Candidate {
        int a, b, score;
    };
    std::vector<std::vector<Candidate>> candidates_;  // one list per depth
    Limits limits_;
    uint64_t nodes_ = 0;
    uint64_t runEnd_ = 0;    // node count at which the current attempt gives up
    uint64_t noise_ = 0;     // 0: plain order; else the seed that shakes it
    bool aborted_ = false;   // the current attempt gave up
    bool outOfLimits_ = false;
    int64_t deadlineNs_ = 0;
};

}  // namespace plitar::solver
