#include "solver/MoveSearch.h"

#include "solver/DeadGroups.h"
#include "solver/IdleTiles.h"
#include "solver/Mix.h"
#include "solver/Ordering.h"

namespace plitar::solver {

MoveSearch::MoveSearch(int tableBits) : lost_(tableBits), candidates_(kMaxTiles / 2 + 2)
{
    for (std::size_t i = 0; i < tileKey_.size(); ++i)
        tileKey_[i] = mix(0x706c69746172ULL + i * kGolden);
}

bool MoveSearch::outOfTime()
{
    if (aborted_)
        return true;
    // The clock only every 256 positions: reading it costs as much as a
    // cheap position.
    if (budget_->spent(nodes_, (nodes_ & 255) == 0))
        aborted_ = true;
    else if (runEnd_ != 0 && nodes_ >= runEnd_)
        aborted_ = true;
    return aborted_;
}

void MoveSearch::take(Bits& present, Bits& free, uint64_t& key, int a, int b)
{
    present.reset(a);
    present.reset(b);
    free.reset(a);
    free.reset(b);
    key ^= tileKey_[static_cast<std::size_t>(a)] ^ tileKey_[static_cast<std::size_t>(b)];
    const Bits touched = (p_->dependents(a) | p_->dependents(b)) & present;
    touched.minus(free).forEach([&](int j) {
        if (p_->isFree(j, present))
            free.set(j);
    });
    path_.emplace_back(a, b);
}

// The moves that need no choice, until none is left.
void MoveSearch::reduce(Bits& present, Bits& free, uint64_t& key)
{
    for (bool changed = true; changed;) {
        changed = false;
        for (int g = 0; g < p_->groupCount(); ++g) {
            const Bits go = leaveWithoutChoice(*p_, present & p_->groupMembers(g), free, present);
            if (!go.any())
                continue;
            inTwos(go, [&](int a, int b) { take(present, free, key, a, b); });
            changed = true;
        }
    }
}

// The pairs to try, best first: every two free tiles of a group, but at most
// two of its idle ones, which are interchangeable. Finishing a group counts
// a little; in a shaken attempt, noise as large as a few tiles freed.
const std::vector<MoveSearch::Candidate>& MoveSearch::candidates(const Bits& present, const Bits& free, uint64_t key,
                                                                 int depth)
{
    std::vector<Candidate>& moves = candidates_[static_cast<std::size_t>(depth)];
    moves.clear();
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = present & p_->groupMembers(g);
        Bits f = r & free;
        if (f.count() < 2)
            continue;
        int idle = 0;
        f.forEach([&](int i) {
            if (!p_->dependents(i).intersects(present) && ++idle > 2)
                f.reset(i);
        });
        const int finishes = r.count() == 2 ? 8 : 0;
        f.forEach([&](int a) {
            f.forEach([&](int b) {
                if (b <= a)
                    return;
                int score = pairScore(*p_, a, b, r, present, free) + finishes;
                if (noise_ != 0)
                    score += shake(noise_, key, a, b, 400);
                moves.push_back(Candidate{a, b, score});
            });
        });
    }
    sortFew(moves.begin(), moves.end(), [](const Candidate& x, const Candidate& y) { return x.score > y.score; });
    return moves;
}

bool MoveSearch::search(Bits present, Bits free, uint64_t key, int depth)
{
    ++nodes_;
    if (outOfTime())
        return false;
    const std::size_t mark = path_.size();
    reduce(present, free, key);
    if (!present.any())
        return true;
    if (lost_.contains(key, present)) {
        path_.resize(mark);
        return false;
    }
    if (lines_.greedy(present, free)) {
        path_.insert(path_.end(), lines_.line().begin(), lines_.line().end());
        return true;
    }
    for (const Candidate& c : candidates(present, free, key, depth)) {
        Bits np = present, nf = free;
        uint64_t nk = key;
        take(np, nf, nk, c.a, c.b);
        if (!groupDead(*p_, p_->groupOf(c.a), np) && search(np, nf, nk, depth + 1))
            return true;
        path_.pop_back();
        if (aborted_)
            break;
    }
    if (!aborted_)
        lost_.store(key, present);
    path_.resize(mark);
    return false;
}

Outcome MoveSearch::solve(const Problem& problem, Budget& budget, uint64_t handOver,
                          std::vector<std::pair<int, int>>& moves)
{
    p_ = &problem;
    budget_ = &budget;
    lines_.use(problem);
    lost_.newDeal();
    nodes_ = 0;
    const Bits present = problem.all();
    const Bits free = problem.freeSet(present);
    uint64_t key = 0;
    present.forEach([&](int i) { key ^= tileKey_[static_cast<std::size_t>(i)]; });
    Outcome outcome = Outcome::Undecided;
    for (int attempt = 0;; ++attempt) {
        noise_ = attempt == 0 ? 0 : kGolden * static_cast<uint64_t>(attempt);
        runEnd_ = attempt < kAttempts ? nodes_ + kAttemptNodes : 0;
        if (handOver != 0 && (runEnd_ == 0 || runEnd_ > handOver))
            runEnd_ = handOver;
        aborted_ = false;
        path_.clear();
        if (search(present, free, key, 0)) {
            outcome = Outcome::Won;
            moves = path_;
            break;
        }
        if (!aborted_) {
            outcome = Outcome::Lost;
            break;
        }
        if (budget.spent() || (handOver != 0 && nodes_ >= handOver))
            break;
    }
    p_ = nullptr;
    budget_ = nullptr;
    return outcome;
}

}  // namespace plitar::solver
