// The move search: depth first over pairs of free matching tiles, the pair
// that frees most tiles first, after the moves that need no choice
// (IdleTiles.h). At every position it plays the greedy line (Lines.h), and
// a move that leaves a group that can never pair off (DeadGroups.h) is not
// followed. Positions proved lost go into a table.
//
// It runs as a series of short attempts, each but the first in a shaken
// order: a deal that can be won is far more often won by one of many short
// tries than by one long one. The positions proved lost stay in the table,
// so a later attempt never repeats the proofs of an earlier one, and the
// last attempt runs until it is done or out of its budget. Most deals are
// decided within a few hundred positions.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solver/Bits.h"
#include "solver/Budget.h"
#include "solver/Lines.h"
#include "solver/LostTable.h"
#include "solver/Outcome.h"
#include "solver/Problem.h"

namespace plitar::solver {

class MoveSearch {
public:
    // The attempts: so many positions each, and after so many attempts one
    // that runs to the end.
    static constexpr uint64_t kAttemptNodes = 40;
    static constexpr int kAttempts = 200;

    explicit MoveSearch(int tableBits);

    // Won (the line in `moves`), Lost, or Undecided: out of the budget, or
    // past `handOver` positions (0: never).
    Outcome solve(const Problem& problem, Budget& budget, uint64_t handOver, std::vector<std::pair<int, int>>& moves);
    uint64_t nodes() const { return nodes_; }

private:
    struct Candidate {
        int a, b, score;
    };
    bool search(Bits present, Bits free, uint64_t key, int depth);
    const std::vector<Candidate>& candidates(const Bits& present, const Bits& free, uint64_t key, int depth);
    void reduce(Bits& present, Bits& free, uint64_t& key);
    void take(Bits& present, Bits& free, uint64_t& key, int a, int b);
    bool outOfTime();

    const Problem* p_ = nullptr;
    Budget* budget_ = nullptr;
    Lines lines_;
    LostTable<Bits> lost_;
    std::array<uint64_t, kMaxTiles> tileKey_{};
    std::vector<std::pair<int, int>> path_;
    std::vector<std::vector<Candidate>> candidates_;  // one list per depth
    uint64_t nodes_ = 0;
    uint64_t runEnd_ = 0;   // node count at which the current attempt gives up
    uint64_t noise_ = 0;    // 0: plain order; else the seed that shakes it
    bool aborted_ = false;  // the current attempt gave up
};

}  // namespace plitar::solver
