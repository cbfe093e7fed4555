// The solver's second way: choose partners, not moves.
//
// Once every tile knows its partner, the order of the moves no longer
// matters: taking off any pair whose two tiles are free only frees more, so
// taking available pairs off as they come empties the board whenever any
// order does. The search therefore chooses, group by group, how the group's
// tiles pair up, and tests each partial choice against a relaxed game in
// which tiles of groups not yet chosen leave the board one by one as soon as
// they are free. If even that game cannot empty the board, no completion of
// the choice can. A choice for every group that passes the test is a win, and
// the test's own order of removals is the winning line.
#pragma once

#include <cstdint>
#include <vector>

#include "solver/Solver.h"

namespace plitar::solver {

class PairingSolver {
public:
    Result solve(const Problem& problem, Limits limits = {});

private:
    using Pairing = std::vector<std::pair<int, int>>;
    bool relaxedClears(std::vector<std::pair<int, int>>* line);
    bool search();
    void assign(int g, const Pairing& p);
    void unassign(int g);
    bool outOfLimits();

    const Problem* p_ = nullptr;
    std::vector<std::vector<Pairing>> options_;  // per group, the splits not ruled out by the layout alone
    std::vector<int> partner_;                   // -1 while the tile's group is open
    std::vector<bool> decided_;
    std::vector<int> round_;                     // when the last relaxed game took each tile off
    std::vector<std::pair<int, int>> line_;
    Limits limits_;
    uint64_t checks_ = 0;
    int64_t deadlineNs_ = 0;
    bool aborted_ = false;
};

}  // namespace plitar::solver
