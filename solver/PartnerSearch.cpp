#include "solver/PartnerSearch.h"

#include <algorithm>

namespace plitar::solver {

namespace {

uint64_t mix(uint64_t z)
{
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

PartnerSearch::PartnerSearch(int tableBits)
{
    tableBits = std::clamp(tableBits, 8, 26);
    table_.assign(std::size_t{1} << tableBits, Entry{});
    mask_ = (uint64_t{1} << tableBits) - 1;
    for (std::size_t i = 0; i < tileKey_.size(); ++i)
        tileKey_[i] = mix(0x7061727473ULL + i);
}

uint64_t PartnerSearch::pairKey(int a, int b) const
{
    return mix((static_cast<uint64_t>(std::min(a, b)) << 8 | static_cast<uint64_t>(std::max(a, b))) ^ 0x5a5aULL);
}

Bits PartnerSearch::pool(const State& s, int g) const { return (s.present & p_->groupMembers(g)).minus(s.fixed); }

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
    s.partner[static_cast<std::size_t>(a)] = static_cast<int16_t>(b);
    s.partner[static_cast<std::size_t>(b)] = static_cast<int16_t>(a);
    s.fixed.set(a);
    s.fixed.set(b);
    s.key ^= pairKey(a, b);
}

// The steps that need no choice, until none is left; false when the position
// is found lost. Fixed pairs whose tiles are both free come off; the last two
// tiles of a group become a fixed pair; a group's free tiles come off when
// enough idle ones (nothing present depends on them) stay for its blocked
// tiles, as in the move search; a group of four with one possible split takes it.
bool PartnerSearch::settle(State& s)
{
    for (bool changed = true; changed;) {
        changed = false;
        (s.fixed & s.free).forEach([&](int a) {
            const int b = s.partner[static_cast<std::size_t>(a)];
            if (b > a && s.present.test(a) && s.free.test(b)) {
                take(s, a, b);
                changed = true;
            }
        });
        for (int g = 0; g < p_->groupCount(); ++g) {
            const Bits r = pool(s, g);
            const int c = r.count();
            if (c == 0)
                continue;
            if (c == 2) {
                const int a = r.first();
                Bits rest = r;
                rest.reset(a);
                const int b = rest.first();
                if (p_->pairDead(a, b))
                    return false;
                fix(s, a, b);
                changed = true;
                continue;
            }
            const Bits f = r & s.free;
            const int fc = f.count();
            const int bc = c - fc;
            if (fc - bc >= 2) {
                Bits keep;
                int kept = 0;
                f.forEach([&](int i) {
                    if (kept < bc && !p_->dependents(i).intersects(s.present)) {
                        keep.set(i);
                        ++kept;
                    }
                });
                if (kept == bc) {
                    int pending = -1;
                    f.minus(keep).forEach([&](int i) {
                        if (pending < 0) {
                            pending = i;
                        } else {
                            take(s, pending, i);
                            pending = -1;
                        }
                    });
                    changed = true;
                    continue;
                }
            }
            if (c == 4) {
                int t[4], k = 0;
                r.forEach([&](int i) { t[k++] = i; });
                const bool ok[3] = {!p_->pairDead(t[0], t[1]) && !p_->pairDead(t[2], t[3]),
                                    !p_->pairDead(t[0], t[2]) && !p_->pairDead(t[1], t[3]),
                                    !p_->pairDead(t[0], t[3]) && !p_->pairDead(t[1], t[2])};
                const int n = ok[0] + ok[1] + ok[2];
                if (n == 0)
                    return false;
                if (n == 1) {
                    if (ok[0])
                        fix(s, t[0], t[1]), fix(s, t[2], t[3]);
                    else if (ok[1])
                        fix(s, t[0], t[2]), fix(s, t[1], t[3]);
                    else
                        fix(s, t[0], t[3]), fix(s, t[1], t[2]);
                    changed = true;
                }
            }
        }
    }
    return true;
}

// Plays from `s` without choices. A fixed pair leaves once both its tiles are
// free. Relaxed, a game that every real line also plays: a tile without a
// partner leaves once it is free beside a free tile of its group without one,
// taking those with it, or after such a tile of its group has left; a
// position it cannot empty is lost. Greedy, a real line kept in `line_`: a
// tile without a partner leaves with the free tile of its group without one
// that Problem::greedyMate picks; a position it empties is won.
template <bool Greedy, bool Record>
bool PartnerSearch::run(const State& s, const Resume& resume)
{
    const int from = resume.from;
    int16_t event = 0;
    const int groups = p_->groupCount();
    if constexpr (Record) {
        s.present.forEach([&](int t) { freeAt_[static_cast<std::size_t>(t)] = 0; });
        std::fill_n(goneAt_.begin(), groups, int16_t{0});
    }
    Bits present = s.present, free = s.free;
    const Bits open = s.present.minus(s.fixed);
    Bits gone;  // groups that have lost a tile without a partner
    if (from > 0) {
        // Resume the recorded run before its removal `from`: what it did up
        // to there is a run of this game too.
        present = snapPresent_[static_cast<std::size_t>(from)].minus(resume.off);
        free = snapFree_[static_cast<std::size_t>(from)] & present;
        resume.off.forEach([&](int t) {
            (p_->dependents(t) & present).minus(free).forEach([&](int j) {
                if (p_->isFree(j, present))
                    free.set(j);
            });
        });
        for (int g = 0; g < groups; ++g)
            if (const int16_t at = goneAt_[static_cast<std::size_t>(g)]; at != 0 && at < from)
                gone.set(g);
    }
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
    const bool stopEarly = resume.enough.any();
    while (top > 0) {
        if (stopEarly && !present.intersects(resume.enough)) {
            left_ = 0;
            return true;
        }
        const int t = stack[static_cast<std::size_t>(--top)];
        if (!present.test(t))
            continue;
        if (!open.test(t)) {
            const int u = s.partner[static_cast<std::size_t>(t)];
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
            const int m = p_->greedyMate(t, present & open & p_->groupMembers(g), free, present);
            if (m >= 0) {
                remove(t);
                remove(m);
                line_.emplace_back(t, m);
            }
            continue;
        }
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
    left_ = present.count();
    return left_ == 0;
}

bool PartnerSearch::play(const State& s, bool greedy, bool record, const Resume& resume)
{
    if (greedy)
        return run<true, false>(s, resume);
    return record ? run<false, true>(s, resume) : run<false, false>(s, resume);
}

// Whether the relaxed game empties the board from c, the recorded position
// with the split q fixed. The run goes as recorded up to the first removal of
// one of q's tiles that the split holds up: a pair whose two tiles were both
// free when the recorded run took the first of them leaves there, its second
// tile early, which holds nothing up. Once all four of a pool of four are
// off, the game from there is the recorded position's (the group has no
// tiles left), which the recorded run shows can be emptied.
bool PartnerSearch::splitRuns(const State& c, const int* q)
{
    Resume resume;
    if (q[2] < 0) {
        resume.from = std::min(leftAt_[static_cast<std::size_t>(q[0])], leftAt_[static_cast<std::size_t>(q[1])]);
        return play(c, false, false, resume);
    }
    Bits early;
    resume.from = kMaxTiles + 1;
    for (int k = 0; k < 4; k += 2) {
        const auto a = static_cast<std::size_t>(q[k]), b = static_cast<std::size_t>(q[k + 1]);
        const int first = std::min(leftAt_[a], leftAt_[b]);
        if (std::max(freeAt_[a], freeAt_[b]) < first) {
            early.set(q[k]);
            early.set(q[k + 1]);
        } else {
            resume.from = std::min(resume.from, first);
        }
        resume.enough.set(q[k]);
        resume.enough.set(q[k + 1]);
    }
    if (resume.from > kMaxTiles)
        return true;  // both pairs leave where the recorded run took their first tile
    // Those of the pairs that left before the resumed run starts go now.
    early.forEach([&](int t) {
        if (leftAt_[static_cast<std::size_t>(t)] < resume.from ||
            leftAt_[static_cast<std::size_t>(c.partner[static_cast<std::size_t>(t)])] < resume.from)
            resume.off.set(t);
    });
    return play(c, false, false, resume);
}

// Whether the last recorded relaxed run stays a run of the relaxed game once
// the pairs q[0], q[1] and q[2], q[3] are fixed: each pair then leaves just
// after the later of its two tiles came free, and that holds if no tile
// came free, from the time one of them left in the run until that later
// time, where it could have needed that tile gone.
bool PartnerSearch::runHolds(const int* q) const
{
    for (int k = 0; k < 4 && q[k] >= 0; k += 2) {
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

// Tries every split of every group of four without partners: a split after
// which the relaxed game cannot empty the board is ruled out. A group with no
// split left loses the position, a group with one takes it. The group with
// fewest splits left, and those splits, come back in `branch` for the search
// to choose from.
PartnerSearch::Verdict PartnerSearch::lookAhead(State& s, Branch& branch)
{
    // Round the groups until a whole round has passed since the last group
    // that took its one split left. The groups most often found without a
    // split come first: where the position is lost, that shows soonest there.
    branch.count = 0;
    if (!play(s, false, true))
        return Verdict::Lost;
    const int groups = p_->groupCount();
    std::array<int, kMaxTiles> order{};
    for (int g = 0; g < groups; ++g)
        order[static_cast<std::size_t>(g)] = g;
    sortFew(order.begin(), order.begin() + groups, [&](int a, int b) {
        return weight_[static_cast<std::size_t>(a)] > weight_[static_cast<std::size_t>(b)];
    });
    for (int at = 0, quiet = 0; quiet < groups; at = (at + 1) % groups, ++quiet) {
        const int g = order[static_cast<std::size_t>(at)];
        // The choices: for a pool of four its three splits into two pairs;
        // for a larger one the partners of its first tile (the second pair -1).
        const Bits r = pool(s, g);
        const int size = r.count();
        if (size < 4)
            continue;
        int split[Branch::kMax][4];
        int choices = 0;
        if (size == 4) {
            int t[4], k = 0;
            r.forEach([&](int i) { t[k++] = i; });
            const int four[3][4] = {{t[0], t[1], t[2], t[3]}, {t[0], t[2], t[1], t[3]}, {t[0], t[3], t[1], t[2]}};
            for (const auto& q : four)
                std::copy(q, q + 4, split[choices++]);
        } else {
            const int a = r.first();
            Bits others = r;
            others.reset(a);
            others.forEach([&](int b) {
                if (choices < Branch::kMax) {
                    const int q[4] = {a, b, -1, -1};
                    std::copy(q, q + 4, split[choices++]);
                }
            });
            if (choices < size - 1)
                continue;  // more than the branch can hold: left to the search's own choice
        }
        int ok = 0;
        int left[Branch::kMax];
        for (int v = 0; v < choices; ++v) {
            const int* q = split[v];
            if (p_->pairDead(q[0], q[1]) || (q[2] >= 0 && p_->pairDead(q[2], q[3])))
                continue;
            if (size == 4 && s.ruledOut[static_cast<std::size_t>(v)].test(g))
                continue;
            if (runHolds(q)) {
                left[ok++] = v;
                continue;
            }
            State c = s;
            for (int j = 0; j < 4 && q[j] >= 0; j += 2)
                fix(c, q[j], q[j + 1]);
            if (splitRuns(c, q))
                left[ok++] = v;
            else if (size == 4)
                s.ruledOut[static_cast<std::size_t>(v)].set(g);
        }
        if (ok == 0) {
            ++weight_[static_cast<std::size_t>(g)];
            return Verdict::Lost;
        }
        if (ok == 1) {
            const int* q = split[left[0]];
            fix(s, q[0], q[1]);
            if (q[2] >= 0)
                fix(s, q[2], q[3]);
            if (!settle(s) || (s.present.any() && !play(s, false, true)))
                return Verdict::Lost;
            if (!s.present.any())
                return Verdict::Won;
            branch.count = 0;  // what the round found so far may be out of date
            quiet = 0;
            continue;
        }
        // The group most often found without a split, for its number of
        // splits left: trouble found once tends to be found again.
        const uint64_t w = weight_[static_cast<std::size_t>(g)] + 1;
        if (weighted_ ? (branch.count == 0 || w * static_cast<uint64_t>(branch.count) > branch.weight * static_cast<uint64_t>(ok))
                      : (ok == 2 && branch.count == 0)) {
            branch.weight = w;
            branch.count = ok;
            for (int v = 0; v < ok; ++v)
                for (int j = 0; j < 4; ++j)
                    branch.split[v][j] = split[left[v]][j];
        }
    }
    return Verdict::Open;
}

bool PartnerSearch::known(const State& s) const
{
    for (uint64_t k = 0; k < 4; ++k) {
        const Entry& e = table_[(s.key + k) & mask_];
        if (e.stamp == stamp_ && e.key == s.key && e.present == s.present && e.fixed == s.fixed)
            return true;
    }
    return false;
}

void PartnerSearch::store(const State& s)
{
    std::size_t victim = s.key & mask_;
    for (uint64_t k = 0; k < 4; ++k) {
        const std::size_t i = (s.key + k) & mask_;
        if (table_[i].stamp != stamp_) {
            victim = i;
            break;
        }
    }
    table_[victim] = Entry{s.present, s.fixed, s.key, stamp_};
}

bool PartnerSearch::search(State s)
{
    ++nodes_;
    if (stopped_ || aborted_)
        return false;
    if ((*stop_)()) {
        stopped_ = true;
        return false;
    }
    if (runEnd_ != 0 && nodes_ >= runEnd_) {
        aborted_ = true;
        return false;
    }
    const std::size_t mark = path_.size();
    const auto lost = [&](bool remember, const State& at) {
        if (remember && !stopped_ && !aborted_)
            store(at);
        path_.resize(mark);
        return false;
    };
    if (!settle(s))
        return lost(false, s);
    if (!s.present.any())
        return true;
    if (known(s))
        return lost(false, s);
    if (play(s, true)) {
        path_.insert(path_.end(), line_.begin(), line_.end());
        return true;
    }
    const State entry = s;
    Branch branch;
    switch (lookAhead(s, branch)) {
    case Verdict::Lost:
        return lost(true, entry);
    case Verdict::Won:
        return true;
    case Verdict::Open:
        break;
    }
    if (branch.count >= 2) {
        // The split after which the greedy line gets furthest first.
        std::array<int, Branch::kMax> order{}, rest{};
        for (int v = 0; v < branch.count; ++v) {
            order[static_cast<std::size_t>(v)] = v;
            State c = s;
            fix(c, branch.split[v][0], branch.split[v][1]);
            if (branch.split[v][2] >= 0)
                fix(c, branch.split[v][2], branch.split[v][3]);
            if (play(c, true)) {
                path_.insert(path_.end(), line_.begin(), line_.end());
                return true;
            }
            rest[static_cast<std::size_t>(v)] = left_;
        }
        sortFew(order.begin(), order.begin() + branch.count,
                [&](int x, int y) { return rest[static_cast<std::size_t>(x)] < rest[static_cast<std::size_t>(y)]; });
        const int turn = noise_ != 0 ? static_cast<int>(mix(noise_ ^ s.key) % static_cast<uint64_t>(branch.count)) : 0;
        for (int w = 0; w < branch.count; ++w) {
            const int v = order[static_cast<std::size_t>((w + turn) % branch.count)];
            State c = s;
            fix(c, branch.split[v][0], branch.split[v][1]);
            if (branch.split[v][2] >= 0)
                fix(c, branch.split[v][2], branch.split[v][3]);
            if (search(c))
                return true;
            if (stopped_ || aborted_)
                break;
        }
        return lost(true, entry);
    }

    // No group of four is down to two splits: the partner of one tile is
    // chosen, one of the pair of free tiles without partners that frees most
    // tiles, that pair first.
    int bestA = -1, bestB = -1, bestScore = 0;
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = pool(s, g);
        const Bits f = r & s.free;
        if (f.count() < 2)
            continue;
        f.forEach([&](int a) {
            f.forEach([&](int b) {
                if (b <= a || p_->pairDead(a, b))
                    return;
                Bits after = s.present;
                after.reset(a);
                after.reset(b);
                int freed = 0;
                ((p_->dependents(a) | p_->dependents(b)) & after).minus(s.free).forEach([&](int j) {
                    if (p_->isFree(j, after))
                        ++freed;
                });
                int score = freed * 16 + p_->tile(a).z + p_->tile(b).z;
                Bits rest = r;
                rest.reset(a);
                rest.reset(b);
                rest.forEach([&](int x) { score -= 4 * (p_->mustGoFirst(x) & after).count(); });
                if (noise_ != 0)
                    score += static_cast<int>(mix(noise_ ^ s.key ^ (static_cast<uint64_t>(a) << 8 | static_cast<uint64_t>(b))) % 48);
                if (bestA < 0 || score > bestScore) {
                    bestScore = score;
                    bestA = a;
                    bestB = b;
                }
            });
        });
    }
    if (bestA < 0)
        return lost(true, entry);  // no pair can come off, and none ever will
    std::array<int, kMaxTiles> partners{};
    int count = 0;
    partners[static_cast<std::size_t>(count++)] = bestB;
    Bits others = pool(s, p_->groupOf(bestA));
    others.reset(bestA);
    others.reset(bestB);
    others.forEach([&](int b) {
        if (!p_->pairDead(bestA, b))
            partners[static_cast<std::size_t>(count++)] = b;
    });
    // Free partners next: such a pair comes off at once.
    sortFew(partners.begin() + 1, partners.begin() + count, [&](int x, int y) { return s.free.test(x) && !s.free.test(y); });
    for (int k = 0; k < count; ++k) {
        State c = s;
        fix(c, bestA, partners[static_cast<std::size_t>(k)]);
        if (search(c))
            return true;
        if (stopped_ || aborted_)
            break;
    }
    return lost(true, entry);
}

Outcome PartnerSearch::solve(const Problem& problem, const std::function<bool()>& stop,
                             std::vector<std::pair<int, int>>& moves)
{
    p_ = &problem;
    stop_ = &stop;
    nodes_ = 0;
    stopped_ = false;
    path_.clear();
    if (++stamp_ == 0) {  // the stamps wrapped: forget every entry
        for (Entry& e : table_)
            e.stamp = 0;
        stamp_ = 1;
    }
    State s;
    s.present = problem.all();
    s.free = problem.freeSet(s.present);
    s.partner.fill(-1);
    weight_.fill(0);
    s.present.forEach([&](int i) { s.key ^= tileKey_[static_cast<std::size_t>(i)]; });
    // Attempts with growing node budgets, each but the first in a shaken
    // order; what one proves lost stays in the table for the next, and the
    // last runs to the end. A search that goes wrong early finds its way
    // sooner by starting again than by undoing its first choice last.
    bool won = false;
    uint64_t budget = 32;
    for (int attempt = 0;; ++attempt) {
        noise_ = attempt == 0 ? 0 : mix(0x6e6f697365ULL + static_cast<uint64_t>(attempt));
        runEnd_ = attempt < 40 ? nodes_ + budget : 0;
        // Every other attempt, and the last, by the groups found without a
        // split most often: that proves losses far sooner, while the plain
        // order finds most wins sooner.
        weighted_ = attempt % 2 == 1 || runEnd_ == 0;
        aborted_ = false;
        path_.clear();
        won = search(s);
        if (won || !aborted_ || stopped_)
            break;
        budget += budget / 2;
    }
    p_ = nullptr;
    stop_ = nullptr;
    if (won) {
        moves = path_;
        return Outcome::Won;
    }
    return stopped_ ? Outcome::Undecided : Outcome::Lost;
}

}  // namespace plitar::solver
