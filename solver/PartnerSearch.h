// The search for hard positions: it chooses partners, not move orders.
//
// Once every tile knows its partner, the order of the moves no longer
// matters: taking off a pair whose tiles are both free never hurts, since
// taking tiles away only frees others. So the only choices in a position are
// how the tiles of each matching group split into pairs. This search fixes
// partners, takes off every fixed pair as soon as both its tiles are free,
// and at every position:
//  - plays a greedy line (each tile leaves with a free tile of its group, see
//    Problem::greedyMate); if it empties the board, the position is won;
//  - tries every split of every group of four against a relaxed game: a split
//    after which the relaxed game cannot empty the board is ruled out, a
//    group with no split left loses the position, a group with one split left
//    takes it without a choice. A split is taken as possible without a run
//    of its own when the position's relaxed run stays valid with it (see
//    runHolds);
//  - chooses how a group splits, the split after which the greedy line gets
//    furthest first: a group down to two splits, or else the partner of one
//    free tile; or, in every other attempt, the group most often found
//    without a split for its number of splits left, which proves losses far
//    sooner.
// It runs as a series of attempts with growing node budgets, each but the
// first in a shaken order, keeping the positions proved lost. The look-ahead
// costs far more per position than the move search, but proves the deals
// that the move search cannot finish in a few thousand positions.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "solver/Solver.h"

namespace plitar::solver {

class PartnerSearch {
public:
    // 2^16 slots: the hardest deals search some tens of thousands of
    // positions, and a smaller table is far more often in cache.
    explicit PartnerSearch(int tableBits = 16);

    // Won (the line in `moves`), Lost, or Undecided when `stop` answers true;
    // it is asked once per position.
    Outcome solve(const Problem& problem, const std::function<bool()>& stop, std::vector<std::pair<int, int>>& moves);
    uint64_t nodes() const { return nodes_; }

private:
    struct State {
        Bits present, free, fixed;              // fixed: tiles whose partner is chosen
        std::array<int16_t, kMaxTiles> partner;  // valid for fixed tiles
        uint64_t key = 0;                        // the present tiles and the fixed pairs
        // Per group, by split (0: first two tiles together, 1: first and
        // third, 2: first and fourth): the groups whose pool of four was found
        // unable to split so. Pools only shrink, so the mark holds while the
        // pool is still four.
        std::array<Bits, 3> ruledOut;
    };
    struct Entry {
        Bits present, fixed;
        uint64_t key = 0;
        uint32_t stamp = 0;
    };

    enum class Verdict { Lost, Won, Open };
    // The choices left in one group: for a pool of four, splits into two
    // pairs; for a larger pool, partners of its first tile (second pair -1).
    struct Branch {
        static constexpr int kMax = 7;
        int count = 0;  // choices left, 0: no group to branch on
        uint64_t weight = 0;
        int split[kMax][4] = {};
    };

    bool search(State s);
    bool settle(State& s);
    Verdict lookAhead(State& s, Branch& branch);
    // Where a relaxed run resumes the recorded one: just before its removal
    // `from` (0: at the start, from s), with the tiles `off` taken off first.
    // It may stop with success once the tiles `enough` are all off the board:
    // the caller knows that the recorded run goes on from there.
    struct Resume {
        int from = 0;
        Bits off, enough;
    };
    // A relaxed run (or, greedy, the greedy line) from s.
    bool play(const State& s, bool greedy, bool record, const Resume& resume);
    template <bool Greedy, bool Record>
    bool run(const State& s, const Resume& resume);
    bool play(const State& s, bool greedy, bool record = false) { return play(s, greedy, record, Resume()); }
    bool splitRuns(const State& c, const int* q);
    bool runHolds(const int* q) const;
    Bits pool(const State& s, int g) const;
    void take(State& s, int a, int b);
    void fix(State& s, int a, int b);
    uint64_t pairKey(int a, int b) const;
    bool known(const State& s) const;
    void store(const State& s);

    friend class ShortcutCheck;  // the tests' look at runHolds

    const Problem* p_ = nullptr;
    std::vector<Entry> table_;
    uint64_t mask_ = 0;
    uint32_t stamp_ = 0;
    std::array<uint64_t, kMaxTiles> tileKey_{};
    std::vector<std::pair<int, int>> path_;
    std::vector<std::pair<int, int>> line_;  // the last greedy line
    int left_ = 0;                           // tiles the last run left on the board
    // The last recorded relaxed run: for each tile, the removal after which it
    // came free (0: free from the start) and the removal that took it.
    std::array<int16_t, kMaxTiles> freeAt_{}, leftAt_{};
    // The tiles present and free just before each removal of that run, and
    // the removal by which each group first lost a tile (0: none).
    std::array<Bits, kMaxTiles + 1> snapPresent_{}, snapFree_{};
    std::array<int16_t, kMaxTiles> goneAt_{};
    uint64_t nodes_ = 0;
    std::array<uint32_t, kMaxTiles> weight_{};  // per group: times it was found without a split
    bool weighted_ = false;  // branch on the group most often found without a split
    bool stopped_ = false;
    bool aborted_ = false;   // the current attempt used its budget
    uint64_t runEnd_ = 0;    // node count at which the attempt gives up; 0: none
    uint64_t noise_ = 0;     // 0: plain order; else the seed that shakes it
    const std::function<bool()>* stop_ = nullptr;
};

}  // namespace plitar::solver
