// The partner search, for the positions the move search leaves undecided:
// it chooses partners, not move orders.
//
// Once every tile knows its partner, the order of the moves no longer
// matters: taking off a pair whose tiles are both free never hurts, since
// taking tiles away only frees others. So the only choices in a position are
// how the tiles of each matching group split into pairs. This search fixes
// partners, takes off every fixed pair as soon as both its tiles are free,
// and at every position:
//  - plays the greedy line (Lines.h); if it empties the board, the position
//    is won;
//  - looks ahead: tries every split of every group of four against the
//    relaxed game (Lines.h). A split after which it cannot empty the board
//    is ruled out, here and in every position below (a real line from there
//    would be one from here); a group with no split left loses the position,
//    a group with one split left takes it without a choice. A split the
//    position's recorded run already answers needs no run of its own, and a
//    run for one resumes the recorded run just before it first holds up a
//    pair of the split;
//  - chooses how a group splits, the split after which the greedy line gets
//    furthest first: a group down to two splits, or else the partner of one
//    free tile; or, in every other attempt, the group most often found
//    without a split for its number of splits left, which proves losses far
//    sooner.
// It runs as a series of attempts with growing budgets, each but the first
// in a shaken order, keeping the positions proved lost. A position costs far
// more than one of the move search, but the deals the move search cannot
// finish in its thousand positions take it some hundreds to some tens of
// thousands.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "solver/Bits.h"
#include "solver/Budget.h"
#include "solver/Lines.h"
#include "solver/LostTable.h"
#include "solver/Outcome.h"
#include "solver/Problem.h"
#include "solver/Splits.h"

namespace plitar::solver {

class PartnerSearch {
public:
    // 2^16 slots: the hardest deals search some tens of thousands of
    // positions, and a smaller table is far more often in cache.
    explicit PartnerSearch(int tableBits = 16);

    // Won (the line in `moves`), Lost, or Undecided when the budget is spent;
    // `spentBefore` positions count against it already.
    Outcome solve(const Problem& problem, Budget& budget, uint64_t spentBefore, std::vector<std::pair<int, int>>& moves);
    uint64_t nodes() const { return nodes_; }

private:
    struct State : Position {
        uint64_t key = 0;  // the present tiles and the fixed pairs
        // Per split of a pool of four (see splitsOfFour), the groups whose
        // pool was found unable to split so. Pools only shrink, so the mark
        // holds while the pool is still four.
        std::array<Bits, 3> ruledOut;
    };
    // What the table of lost positions keeps of a state.
    struct Stored {
        Bits present, fixed;
        uint64_t key = 0;
        friend bool operator==(const Stored& a, const Stored& b)
        {
            return a.key == b.key && a.present == b.present && a.fixed == b.fixed;
        }
    };

    enum class Verdict { Lost, Won, Open };
    enum class Settled { Lost, Changed, Same };
    // The choices left in one group: for a pool of four, splits into two
    // pairs; for a larger pool, partners of its first tile.
    struct Branch {
        static constexpr int kMax = 7;
        int count = 0;  // choices left, 0: no group to branch on
        uint64_t weight = 0;
        std::array<Split, kMax> split{};
    };

    bool search(State s);
    bool searchWith(const State& s, const Split& q);
    bool mustStop();
    bool giveUp(std::size_t mark, const State* lost);
    bool known(const State& s) const { return lost_.contains(s.key, Stored{s.present, s.fixed, s.key}); }
    bool greedyWins(const State& s);
    bool trySplits(const State& s, const Branch& branch);
    bool tryPartners(const State& s);
    bool bestPair(const State& s, int& a, int& b) const;

    bool settle(State& s);
    bool takeFixedPairs(State& s);
    Settled settleGroup(State& s, int g);

    Verdict lookAhead(State& s, Branch& branch);
    int choices(const State& s, int g, std::array<Split, Branch::kMax>& split) const;
    int splitsLeft(State& s, int g, const std::array<Split, Branch::kMax>& split, int count,
                   std::array<int, Branch::kMax>& left);
    void offer(int g, const std::array<Split, Branch::kMax>& split, const std::array<int, Branch::kMax>& left, int ok,
               Branch& branch) const;

    Bits pool(const State& s, int g) const { return (s.present & p_->groupMembers(g)).minus(s.fixed); }
    void take(State& s, int a, int b);
    void fix(State& s, int a, int b);
    void fix(State& s, const Split& q);
    uint64_t pairKey(int a, int b) const;

    const Problem* p_ = nullptr;
    Budget* budget_ = nullptr;
    uint64_t spentBefore_ = 0;
    Lines lines_;
    LostTable<Stored> lost_;
    std::array<uint64_t, kMaxTiles> tileKey_{};
    std::vector<std::pair<int, int>> path_;
    uint64_t nodes_ = 0;
    std::array<uint32_t, kMaxTiles> weight_{};  // per group: times it was found without a split
    bool weighted_ = false;  // branch on the group most often found without a split
    bool stopped_ = false;   // the budget is spent
    bool aborted_ = false;   // the current attempt used its own budget
    uint64_t runEnd_ = 0;    // node count at which the attempt gives up; 0: none
    uint64_t noise_ = 0;     // 0: plain order; else the seed that shakes it
};

}  // namespace plitar::solver
