// The greedy line and the relaxed game, one run each way from a stack of
// tiles that came free, and the tests of a split against a recorded run.
#include "solver/Lines.h"

#include <algorithm>

namespace plitar::solver {

// The greedy line's partner for the free tile t: see the top of Lines.h.
// `rest` is t's group as far as it may still pair, t included. -1 when there
// is none.
int Lines::greedyMate(int t, const Bits& rest, const Bits& free, const Bits& present) const
{
    Bits mates = rest & free;
    mates.reset(t);
    if (!mates.any())
        return -1;
    if (rest.count() == 4) {
        Bits other = rest;
        other.reset(t);
        mates.forEach([&](int c) {
            Bits two = other;
            two.reset(c);
            const int x = two.first();
            two.reset(x);
            if (p_->pairDead(x, two.first()))
                mates.reset(c);
        });
    }
    const int first = mates.first();
    if (first < 0)
        return -1;
    mates.reset(first);
    if (!mates.any())
        return first;  // no choice: nothing to score
    int m = first, most = (p_->dependents(first) & present).count();
    mates.forEach([&](int c) {
        if (const int held = (p_->dependents(c) & present).count(); held > most) {
            most = held;
            m = c;
        }
    });
    return m;
}

// Where a run resumes the recorded one just before its removal `from`: what
// that run did up to there is a run of this game too. Inline: most runs that
// test a split start here.
[[gnu::always_inline]] inline void Lines::resumeRecorded(const Resume& resume, Bits& present, Bits& free, Bits& gone) const
{
    const auto from = static_cast<std::size_t>(resume.from);
    present = snapPresent_[from].minus(resume.off);
    free = snapFree_[from] & present;
    resume.off.forEach([&](int t) {
        (p_->dependents(t) & present).minus(free).forEach([&](int j) {
            if (p_->isFree(j, present))
                free.set(j);
        });
    });
    for (int g = 0; g < p_->groupCount(); ++g)
        if (const int16_t at = goneAt_[static_cast<std::size_t>(g)]; at != 0 && at < resume.from)
            gone.set(g);
}

// One run: every tile that comes free goes on a stack, and a tile taken from
// it leaves if it may. Made by the compiler in four versions: greedy, with
// partners or none (the move search's, at every position), relaxed, and
// relaxed keeping what splitHolds and splitClears read. Only a relaxed run
// resumes another.
template <bool Greedy, bool Record, bool Partnered>
bool Lines::run(const Bits& startPresent, const Bits& startFree, const Bits& fixed, const int16_t* partner,
                const Resume& resume)
{
    if constexpr (Record) {
        startPresent.forEach([&](int t) { freeAt_[static_cast<std::size_t>(t)] = 0; });
        std::fill_n(goneAt_.begin(), p_->groupCount(), int16_t{0});
    }
    Bits present = startPresent, free = startFree;
    const Bits open = Partnered ? startPresent.minus(fixed) : startPresent;
    Bits gone;  // groups that have lost an open tile
    if (!Greedy && resume.from > 0)
        resumeRecorded(resume, present, free, gone);
    int16_t event = 0;
    std::array<int16_t, kMaxTiles> stack;
    int top = 0;
    if constexpr (Greedy)
        line_.clear();
    const auto remove = [&](int t) {
        if constexpr (Record) {
            ++event;
            leftAt_[static_cast<std::size_t>(t)] = event;
            snapPresent_[static_cast<std::size_t>(event)] = present;
            snapFree_[static_cast<std::size_t>(event)] = free;
        }
        present.reset(t);
        (p_->dependents(t) & present).minus(free).forEach([&](int j) {
            if (p_->isFree(j, present)) {
                free.set(j);
                stack[static_cast<std::size_t>(top++)] = static_cast<int16_t>(j);
                if constexpr (Record)
                    freeAt_[static_cast<std::size_t>(j)] = event;
            }
        });
    };
    free.forEach([&](int t) { stack[static_cast<std::size_t>(top++)] = static_cast<int16_t>(t); });
    const bool stopEarly = !Greedy && resume.enough.any();
    while (top > 0) {
        if (stopEarly && !present.intersects(resume.enough)) {
            leftOver_ = Bits{};
            return true;
        }
        const int t = stack[static_cast<std::size_t>(--top)];
        if (!present.test(t))
            continue;
        if (Partnered && !open.test(t)) {  // a chosen pair: both free, both go
            const int u = partner[static_cast<std::size_t>(t)];
            if (present.test(u) && free.test(u)) {
                remove(t);
                remove(u);
                if constexpr (Greedy)
                    line_.emplace_back(t, u);
            }
            continue;
        }
        const int g = p_->groupOf(t);
        if constexpr (Greedy) {
            const int m = greedyMate(t, (Partnered ? present & open : present) & p_->groupMembers(g), free, present);
            if (m >= 0) {
                remove(t);
                remove(m);
                line_.emplace_back(t, m);
            }
            continue;
        }
        // Relaxed: the group's first open tiles go together once two are
        // free, and after that each alone.
        if (!gone.test(g)) {
            Bits mates = present & free & open & p_->groupMembers(g);
            mates.reset(t);
            if (!mates.any())
                continue;
            gone.set(g);
            if constexpr (Record)
                goneAt_[static_cast<std::size_t>(g)] = static_cast<int16_t>(event + 1);
            remove(t);
            mates.forEach([&](int m) {
                if (present.test(m))
                    remove(m);
            });
            continue;
        }
        remove(t);
    }
    leftOver_ = present;
    return !present.any();
}

bool Lines::greedy(const Position& s) { return run<true, false>(s); }

bool Lines::greedy(const Bits& present, const Bits& free)
{
    return run<true, false, false>(present, free & present, Bits{}, nullptr, Resume{});
}

bool Lines::clears(const Position& s) { return run<false, false>(s); }

bool Lines::record(const Position& s) { return run<false, true>(s); }

// The run goes as recorded up to the first removal of one of q's tiles that
// the split holds up: a pair whose two tiles were both free when the
// recorded run took the first of them leaves there, its second tile early,
// which holds nothing up. Once all four of a pool of four are off, the game
// from there is the recorded position's (the group has no tiles left), which
// the recorded run shows can be emptied.
bool Lines::splitClears(const Position& c, const Split& q)
{
    Resume resume;
    if (q[2] < 0) {
        resume.from = std::min(leftAt_[static_cast<std::size_t>(q[0])], leftAt_[static_cast<std::size_t>(q[1])]);
        return run<false, false>(c, resume);
    }
    Bits early;
    resume.from = kMaxTiles + 1;
    for (int k = 0; k < 4; k += 2) {
        const auto a = static_cast<std::size_t>(q[static_cast<std::size_t>(k)]);
        const auto b = static_cast<std::size_t>(q[static_cast<std::size_t>(k + 1)]);
        const int first = std::min(leftAt_[a], leftAt_[b]);
        if (std::max(freeAt_[a], freeAt_[b]) < first) {
            early.set(static_cast<int>(a));
            early.set(static_cast<int>(b));
        } else {
            resume.from = std::min(resume.from, first);
        }
        resume.enough.set(static_cast<int>(a));
        resume.enough.set(static_cast<int>(b));
    }
    if (resume.from > kMaxTiles)
        return true;  // both pairs leave where the recorded run took their first tile
    // Those of the pairs that left before the resumed run starts go now.
    early.forEach([&](int t) {
        if (leftAt_[static_cast<std::size_t>(t)] < resume.from ||
            leftAt_[static_cast<std::size_t>(c.partner[static_cast<std::size_t>(t)])] < resume.from)
            resume.off.set(t);
    });
    return run<false, false>(c, resume);
}

// With the pairs of q fixed, each pair leaves just after the later of its
// two tiles came free. The recorded run stays valid if no tile came free,
// from the time one of them left in the run until that later time, where
// it could have needed that tile gone.
bool Lines::splitHolds(const Split& q) const
{
    for (std::size_t k = 0; k < 4 && q[k] >= 0; k += 2) {
        const auto a = static_cast<std::size_t>(q[k]), b = static_cast<std::size_t>(q[k + 1]);
        const int16_t at = std::max(freeAt_[a], freeAt_[b]);
        for (const std::size_t x : {a, b}) {
            const int16_t left = leftAt_[x];
            if (at < left)
                continue;
            bool clash = false;
            p_->dependents(static_cast<int>(x)).forEach([&](int j) {
                const int16_t f = freeAt_[static_cast<std::size_t>(j)];
                if (f >= left && f <= at)
                    clash = true;
            });
            if (clash)
                return false;
        }
    }
    return true;
}

}  // namespace plitar::solver
