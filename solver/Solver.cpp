#include "solver/Solver.h"

#include "solver/DeadGroups.h"
#include "solver/MoveSearch.h"
#include "solver/PartnerSearch.h"

namespace plitar::solver {

Solver::Solver(int tableBits) : moves_(std::make_unique<MoveSearch>(tableBits)) {}

Solver::~Solver() = default;

// Lost before any search: a group whose tiles can never all leave in pairs,
// or a board the relaxed game cannot empty, the last two tiles of each group
// leaving together. Asked of the dealt position only: inside the move search
// the relaxed game costs more time than the positions it cuts off save.
bool Solver::lostAtOnce(const Problem& problem)
{
    const Bits all = problem.all();
    Position start = Position::start(problem);
    for (int g = 0; g < problem.groupCount(); ++g) {
        if (groupDead(problem, g, all))
            return true;
        if (const Bits r = all & problem.groupMembers(g); r.count() == 2) {
            const auto [a, b] = r.firstTwo();
            start.pair(a, b);
        }
    }
    lines_.use(problem);
    return !lines_.clears(start);
}

Result Solver::solve(const Problem& problem, Limits limits)
{
    Budget budget(limits);
    Result result;
    Outcome outcome = lostAtOnce(problem) ? Outcome::Lost : Outcome::Undecided;
    if (outcome == Outcome::Undecided && method_ != Method::Partners) {
        outcome = moves_->solve(problem, budget, method_ == Method::Both ? kMoveNodes : 0, result.moves);
        result.nodes = moves_->nodes();
    }
    if (outcome == Outcome::Undecided && !budget.spent() && method_ != Method::Moves) {
        if (!partners_)
            partners_ = std::make_unique<PartnerSearch>();
        outcome = partners_->solve(problem, budget, result.nodes, result.moves);
        result.nodes += partners_->nodes();
    }
    result.outcome = outcome;
    return result;
}

}  // namespace plitar::solver
