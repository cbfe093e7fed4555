// An exact solver for a dealt position, every face known (Problem.h): it
// answers won, with a line that empties the board, or lost, or undecided
// when it reaches its limits (Budget.h), never a guess.
//
// A position goes first to the move search (MoveSearch.h), which decides
// most deals within a few hundred positions; what it has not decided after
// kMoveNodes positions goes to the partner search (PartnerSearch.h), slower
// per position but far stronger on the hard ones. Tests can ask for either
// search alone.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "solver/Bits.h"
#include "solver/Budget.h"
#include "solver/Lines.h"
#include "solver/Outcome.h"
#include "solver/Problem.h"

namespace plitar::solver {

struct Result {
    Outcome outcome = Outcome::Undecided;
    std::vector<std::pair<int, int>> moves;  // tile indices; for Won, a line that empties the board
    uint64_t nodes = 0;
};

class MoveSearch;
class PartnerSearch;

// One solver per thread: it owns its tables of lost positions.
class Solver {
public:
    enum class Method { Both, Moves, Partners };
    static constexpr uint64_t kMoveNodes = 1000;

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
    bool lostAtOnce(const Problem& problem);

    Method method_ = Method::Both;
    std::unique_ptr<MoveSearch> moves_;
    std::unique_ptr<PartnerSearch> partners_;  // made on first need
    Lines lines_;
};

}  // namespace plitar::solver
