#include "solver/PartnerSearch.h"

#include <algorithm>
#include <numeric>

#include "solver/IdleTiles.h"
#include "solver/Mix.h"
#include "solver/Ordering.h"

namespace plitar::solver {

PartnerSearch::PartnerSearch(int tableBits) : lost_(tableBits)
{
    for (std::size_t i = 0; i < tileKey_.size(); ++i)
        tileKey_[i] = mix(0x7061727473ULL + i);
}

// ------------------------------------------------------------ the position

uint64_t PartnerSearch::pairKey(int a, int b) const
{
    return mix((static_cast<uint64_t>(std::min(a, b)) << 8 | static_cast<uint64_t>(std::max(a, b))) ^ 0x5a5aULL);
}

void PartnerSearch::take(State& s, int a, int b)
{
    s.present.reset(a);
    s.present.reset(b);
    s.free.reset(a);
    s.free.reset(b);
    s.key ^= tileKey_[static_cast<std::size_t>(a)] ^ tileKey_[static_cast<std::size_t>(b)];
    if (s.fixed.test(a)) {
        s.fixed.reset(a);
        s.fixed.reset(b);
        s.key ^= pairKey(a, b);
    }
    ((p_->dependents(a) | p_->dependents(b)) & s.present).minus(s.free).forEach([&](int j) {
        if (p_->isFree(j, s.present))
            s.free.set(j);
    });
    path_.emplace_back(a, b);
}

void PartnerSearch::fix(State& s, int a, int b)
{
    s.pair(a, b);
    s.key ^= pairKey(a, b);
}

void PartnerSearch::fix(State& s, const Split& q)
{
    fix(s, q[0], q[1]);
    if (q[2] >= 0)
        fix(s, q[2], q[3]);
}

// -------------------------------------------------- steps without a choice

// The steps that need no choice, until none is left; false when the position
// is found lost.
bool PartnerSearch::settle(State& s)
{
    for (bool changed = true; changed;) {
        changed = takeFixedPairs(s);
        for (int g = 0; g < p_->groupCount(); ++g) {
            const Settled step = settleGroup(s, g);
            if (step == Settled::Lost)
                return false;
            changed |= step == Settled::Changed;
        }
    }
    return true;
}

// Fixed pairs whose tiles are both free come off.
bool PartnerSearch::takeFixedPairs(State& s)
{
    bool taken = false;
    (s.fixed & s.free).forEach([&](int a) {
        const int b = s.partner[static_cast<std::size_t>(a)];
        if (b > a && s.present.test(a) && s.free.test(b)) {
            take(s, a, b);
            taken = true;
        }
    });
    return taken;
}

// The last two tiles of a group become a fixed pair; a group's free tiles
// come off when enough idle ones stay for its blocked tiles (IdleTiles.h);
// a pool of four with one possible split takes it. Inline in settle, which
// asks it of every group many times a position.
[[gnu::always_inline]] inline PartnerSearch::Settled PartnerSearch::settleGroup(State& s, int g)
{
    const Bits r = pool(s, g);
    const int c = r.count();
    if (c == 0)
        return Settled::Same;
    if (c == 2) {
        const auto [a, b] = r.firstTwo();
        if (p_->pairDead(a, b))
            return Settled::Lost;
        fix(s, a, b);
        return Settled::Changed;
    }
    if (const Bits go = leaveWithoutChoice(*p_, r, s.free, s.present); go.any()) {
        inTwos(go, [&](int a, int b) { take(s, a, b); });
        return Settled::Changed;
    }
    if (c != 4)
        return Settled::Same;
    const std::array<Split, 3> splits = splitsOfFour(r);
    int possible = 0, only = 0;
    for (int v = 0; v < 3; ++v)
        if (splitPossible(*p_, splits[static_cast<std::size_t>(v)])) {
            ++possible;
            only = v;
        }
    if (possible == 0)
        return Settled::Lost;
    if (possible == 1) {
        fix(s, splits[static_cast<std::size_t>(only)]);
        return Settled::Changed;
    }
    return Settled::Same;
}

// --------------------------------------------------------------- look-ahead

// Tries every split of every group of four without partners against the
// relaxed game (and the partners of the first tile of a pool of six or
// eight). A group with no split left loses the position, a group with one
// takes it. The choices of the group to branch on come back in `branch`.
PartnerSearch::Verdict PartnerSearch::lookAhead(State& s, Branch& branch)
{
    branch.count = 0;
    if (!lines_.record(s))
        return Verdict::Lost;
    // The groups most often found without a split first: where the position
    // is lost, that shows soonest there.
    const int groups = p_->groupCount();
    std::array<int, kMaxTiles> order{};
    std::iota(order.begin(), order.begin() + groups, 0);
    sortFew(order.begin(), order.begin() + groups, [&](int a, int b) {
        return weight_[static_cast<std::size_t>(a)] > weight_[static_cast<std::size_t>(b)];
    });
    std::array<Split, Branch::kMax> split;
    std::array<int, Branch::kMax> left;
    // Round the groups until a whole round has passed since the last group
    // that took its one split left.
    for (int at = 0, quiet = 0; quiet < groups; at = (at + 1) % groups, ++quiet) {
        const int g = order[static_cast<std::size_t>(at)];
        const int count = choices(s, g, split);
        if (count == 0)
            continue;
        const int ok = splitsLeft(s, g, split, count, left);
        if (ok == 0) {
            ++weight_[static_cast<std::size_t>(g)];
            return Verdict::Lost;
        }
        if (ok == 1) {
            fix(s, split[static_cast<std::size_t>(left[0])]);
            if (!settle(s) || (s.present.any() && !lines_.record(s)))
                return Verdict::Lost;
            if (!s.present.any())
                return Verdict::Won;
            branch.count = 0;  // what the round found so far may be out of date
            quiet = 0;
            continue;
        }
        offer(g, split, left, ok, branch);
    }
    return Verdict::Open;
}

// The choices of group g: for a pool of four its three splits into two
// pairs; for a larger one the partners of its first tile. 0 when the pool is
// smaller, or has more choices than a branch holds (left to the search's own
// choice of a pair).
int PartnerSearch::choices(const State& s, int g, std::array<Split, Branch::kMax>& split) const
{
    const Bits r = pool(s, g);
    const int size = r.count();
    if (size < 4)
        return 0;
    if (size == 4) {
        const std::array<Split, 3> four = splitsOfFour(r);
        std::copy(four.begin(), four.end(), split.begin());
        return 3;
    }
    int count = 0;
    const int a = r.first();
    Bits others = r;
    others.reset(a);
    others.forEach([&](int b) {
        if (count < Branch::kMax)
            split[static_cast<std::size_t>(count++)] = Split{a, b, -1, -1};
    });
    return count < size - 1 ? 0 : count;
}

// Which of group g's choices the relaxed game leaves, as indices into
// `split`; a split of four it rules out is marked in s for the positions
// below.
int PartnerSearch::splitsLeft(State& s, int g, const std::array<Split, Branch::kMax>& split, int count,
                              std::array<int, Branch::kMax>& left)
{
    int ok = 0;
    for (int v = 0; v < count; ++v) {
        const Split& q = split[static_cast<std::size_t>(v)];
        const bool four = q[2] >= 0;
        if (!splitPossible(*p_, q) || (four && s.ruledOut[static_cast<std::size_t>(v)].test(g)))
            continue;
        if (lines_.splitHolds(q)) {
            left[static_cast<std::size_t>(ok++)] = v;
            continue;
        }
        State c = s;
        fix(c, q);
        if (lines_.splitClears(c, q))
            left[static_cast<std::size_t>(ok++)] = v;
        else if (four)
            s.ruledOut[static_cast<std::size_t>(v)].set(g);
    }
    return ok;
}

// Keeps group g's choices left as the branch if they make a better one: in
// the plain order the first group down to two; weighted, the group most
// often found without a split for its number of choices left, since trouble
// found once tends to be found again.
void PartnerSearch::offer(int g, const std::array<Split, Branch::kMax>& split, const std::array<int, Branch::kMax>& left,
                          int ok, Branch& branch) const
{
    const uint64_t w = weight_[static_cast<std::size_t>(g)] + 1;
    const bool better = weighted_ ? (branch.count == 0 || w * static_cast<uint64_t>(branch.count) >
                                                               branch.weight * static_cast<uint64_t>(ok))
                                  : (ok == 2 && branch.count == 0);
    if (!better)
        return;
    branch.weight = w;
    branch.count = ok;
    for (int v = 0; v < ok; ++v)
        branch.split[static_cast<std::size_t>(v)] = split[static_cast<std::size_t>(left[static_cast<std::size_t>(v)])];
}

// ------------------------------------------------------------------ search

bool PartnerSearch::mustStop()
{
    if (stopped_ || aborted_)
        return true;
    if (budget_->spent(spentBefore_ + nodes_, true)) {
        stopped_ = true;
        return true;
    }
    if (runEnd_ != 0 && nodes_ >= runEnd_) {
        aborted_ = true;
        return true;
    }
    return false;
}

// Undoes the moves made since `mark`; a position proved lost, not merely
// left when the search had to stop, goes into the table.
bool PartnerSearch::giveUp(std::size_t mark, const State* lost)
{
    if (lost != nullptr && !stopped_ && !aborted_)
        lost_.store(lost->key, Stored{lost->present, lost->fixed, lost->key});
    path_.resize(mark);
    return false;
}

bool PartnerSearch::greedyWins(const State& s)
{
    if (!lines_.greedy(s))
        return false;
    path_.insert(path_.end(), lines_.line().begin(), lines_.line().end());
    return true;
}

bool PartnerSearch::search(State s)
{
    ++nodes_;
    if (mustStop())
        return false;
    const std::size_t mark = path_.size();
    if (!settle(s))
        return giveUp(mark, nullptr);
    if (!s.present.any())
        return true;
    if (known(s))
        return giveUp(mark, nullptr);
    if (greedyWins(s))
        return true;
    const State entry = s;
    Branch branch;
    switch (lookAhead(s, branch)) {
    case Verdict::Won:
        return true;
    case Verdict::Open:
        if (branch.count >= 2 ? trySplits(s, branch) : tryPartners(s))
            return true;
        break;
    case Verdict::Lost:
        break;
    }
    return giveUp(mark, &entry);
}

bool PartnerSearch::searchWith(const State& s, const Split& q)
{
    State c = s;
    fix(c, q);
    return search(c);
}

// The branch's choices, the one after which the greedy line gets furthest
// first; in a shaken attempt the list is turned by a random step.
bool PartnerSearch::trySplits(const State& s, const Branch& branch)
{
    std::array<int, Branch::kMax> order{}, rest{};
    for (int v = 0; v < branch.count; ++v) {
        order[static_cast<std::size_t>(v)] = v;
        State c = s;
        fix(c, branch.split[static_cast<std::size_t>(v)]);
        if (greedyWins(c))
            return true;
        rest[static_cast<std::size_t>(v)] = lines_.left();
    }
    sortFew(order.begin(), order.begin() + branch.count,
            [&](int x, int y) { return rest[static_cast<std::size_t>(x)] < rest[static_cast<std::size_t>(y)]; });
    const int turn = noise_ != 0 ? static_cast<int>(mix(noise_ ^ s.key) % static_cast<uint64_t>(branch.count)) : 0;
    for (int w = 0; w < branch.count; ++w) {
        const int v = order[static_cast<std::size_t>((w + turn) % branch.count)];
        if (searchWith(s, branch.split[static_cast<std::size_t>(v)]))
            return true;
        if (stopped_ || aborted_)
            break;
    }
    return false;
}

// No group of four is down to two splits: the partner of one tile is
// chosen, a tile of the best pair of free tiles without partners, that
// pair's partner first, then the free ones, whose pair comes off at once.
bool PartnerSearch::tryPartners(const State& s)
{
    int a = -1, b = -1;
    if (!bestPair(s, a, b))
        return false;  // no pair can come off, and none ever will
    std::array<int, kMaxTiles> partners{};
    int count = 0;
    partners[static_cast<std::size_t>(count++)] = b;
    Bits others = pool(s, p_->groupOf(a));
    others.reset(a);
    others.reset(b);
    others.forEach([&](int x) {
        if (!p_->pairDead(a, x))
            partners[static_cast<std::size_t>(count++)] = x;
    });
    sortFew(partners.begin() + 1, partners.begin() + count,
            [&](int x, int y) { return s.free.test(x) && !s.free.test(y); });
    for (int k = 0; k < count; ++k) {
        if (searchWith(s, Split{a, partners[static_cast<std::size_t>(k)], -1, -1}))
            return true;
        if (stopped_ || aborted_)
            break;
    }
    return false;
}

// The pair of free tiles without partners with the best score (Ordering.h),
// the first such in scan order; false when there is none.
bool PartnerSearch::bestPair(const State& s, int& bestA, int& bestB) const
{
    int bestScore = 0;
    bestA = -1;
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = pool(s, g);
        const Bits f = r & s.free;
        if (f.count() < 2)
            continue;
        f.forEach([&](int a) {
            f.forEach([&](int b) {
                if (b <= a || p_->pairDead(a, b))
                    return;
                int score = pairScore(*p_, a, b, r, s.present, s.free);
                if (noise_ != 0)
                    score += shake(noise_, s.key, a, b, 48);
                if (bestA < 0 || score > bestScore) {
                    bestScore = score;
                    bestA = a;
                    bestB = b;
                }
            });
        });
    }
    return bestA >= 0;
}

Outcome PartnerSearch::solve(const Problem& problem, Budget& budget, uint64_t spentBefore,
                             std::vector<std::pair<int, int>>& moves)
{
    p_ = &problem;
    budget_ = &budget;
    spentBefore_ = spentBefore;
    lines_.use(problem);
    lost_.newDeal();
    nodes_ = 0;
    stopped_ = false;
    weight_.fill(0);
    State s;
    static_cast<Position&>(s) = Position::start(problem);
    s.present.forEach([&](int i) { s.key ^= tileKey_[static_cast<std::size_t>(i)]; });
    // Attempts with growing budgets, each but the first in a shaken order;
    // what one proves lost stays in the table for the next, and the last
    // runs to the end. A search that goes wrong early finds its way sooner
    // by starting again than by undoing its first choice last.
    bool won = false;
    uint64_t attemptNodes = 32;
    for (int attempt = 0;; ++attempt) {
        noise_ = attempt == 0 ? 0 : mix(0x6e6f697365ULL + static_cast<uint64_t>(attempt));
        runEnd_ = attempt < 40 ? nodes_ + attemptNodes : 0;
        // Every other attempt, and the last, by the groups found without a
        // split most often: that proves losses far sooner, while the plain
        // order finds most wins sooner.
        weighted_ = attempt % 2 == 1 || runEnd_ == 0;
        aborted_ = false;
        path_.clear();
        won = search(s);
        if (won || !aborted_ || stopped_)
            break;
        attemptNodes += attemptNodes / 2;
    }
    p_ = nullptr;
    budget_ = nullptr;
    if (won) {
        moves = path_;
        return Outcome::Won;
    }
    return stopped_ ? Outcome::Undecided : Outcome::Lost;
}

}  // namespace plitar::solver
