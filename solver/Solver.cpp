// The solver: position geometry and the search.
//
// Moves made without branching. Taking tiles away only ever frees tiles, so a
// tile that is free stays free, and a free tile that no present tile depends on
// (nothing lies on it or touches it from the side in a way that counts: call it
// idle) stays idle and never hinders anything. For one matching group with
// remaining tiles R, free tiles F, the others B = R \ F, and idle free tiles I:
// if |I| >= |B|, keep |B| of the idle tiles and take all the other free tiles
// of the group off, pairing them as they come. Any winning line can be
// rewritten to do that first: the tiles taken off early are gone sooner
// (never a hindrance), each tile of B is paired, when the line takes it, with
// a kept idle tile instead of its partner, and idle tiles left over are paired
// with each other at the end. With B empty this is the plain case "every
// remaining tile of the group is free: take them all".
//
// Idle free tiles of one group are interchangeable, so moves use at most two
// of them.
//
// Positions cut off as lost. A pair can only come off when both its tiles are
// free at once. When a group has two tiles left, their pairing is fixed; such a
// pair can never come off if one tile lies on the other (directly or through a
// stack), if the partner closes one side of a tile and the other side must
// open first, or if a chain of fixed pairs, each waiting for the next, comes
// back to it. A group of four is lost when no split into two pairs escapes
// these.
//
// The search is depth-first over pairs of free matching tiles, the pair that
// frees most tiles first, with a table of positions proved lost (the whole
// position is stored, so a hit is never a collision). It runs as a series of
// short attempts, each but the first in a shaken order: a deal that can be
// won is far more often won by one of many short tries than by one long one.
// The positions proved lost stay in the table, so a later attempt never
// repeats the proofs of an earlier one, and the last attempt runs until it is
// done or the limits are reached.
#include "solver/Solver.h"

#include "solver/PartnerSearch.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>

#include "board/Grid.h"
#include "board/modPlitar.h"

namespace plitar::solver {

namespace {

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

uint64_t splitmix(uint64_t& s)
{
    uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

int matchClass(int face)
{
    if (face >= 1 && face <= 34)
        return face - 1;
    if (face >= 35 && face <= 38)
        return 34;
    if (face >= 39 && face <= 42)
        return 35;
    return 36 + (face & 0xffff);  // only itself
}

const char* outcomeName(Outcome o)
{
    switch (o) {
    case Outcome::Won:
        return "won";
    case Outcome::Lost:
        return "lost";
    case Outcome::Undecided:
        break;
    }
    return "undecided";
}

// ------------------------------------------------------------------ Problem

Problem::Problem(std::vector<Tile> tiles) : n_(static_cast<int>(tiles.size())), tiles_(std::move(tiles))
{
    if (n_ > kMaxTiles)
        throw std::invalid_argument("more than 144 tiles");
    const auto n = static_cast<std::size_t>(n_);
    above_.assign(n, {});
    left_.assign(n, {});
    right_.assign(n, {});
    deps_.assign(n, {});
    closure_.assign(n, {});
    group_.assign(n, 0);

    // Cell -> tile, to find neighbours without a pairwise walk.
    std::vector<int16_t> at(static_cast<std::size_t>(Grid::kCells), -1);
    const auto look = [&](int x, int y, int z) -> int {
        if (!Grid::inRange(x, y, z))
            return -1;
        return at[static_cast<std::size_t>(Grid::indexOf(x, y, z))];
    };
    for (int i = 0; i < n_; ++i) {
        const Tile& t = tiles_[static_cast<std::size_t>(i)];
        if (!Grid::inRange(t.x, t.y, t.z))
            throw std::invalid_argument("tile off the grid");
        at[static_cast<std::size_t>(Grid::indexOf(t.x, t.y, t.z))] = static_cast<int16_t>(i);
        all_.set(i);
    }
    for (int i = 0; i < n_; ++i) {
        const Tile& t = tiles_[static_cast<std::size_t>(i)];
        const auto k = static_cast<std::size_t>(i);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                if (const int j = look(t.x + dx, t.y + dy, t.z + 1); j >= 0)
                    above_[k].set(j);
            if (const int j = look(t.x - 2, t.y + dy, t.z); j >= 0)
                left_[k].set(j);
            if (const int j = look(t.x + 2, t.y + dy, t.z); j >= 0)
                right_[k].set(j);
        }
        (above_[k] | left_[k] | right_[k]).forEach([&](int j) { deps_[static_cast<std::size_t>(j)].set(i); });
    }
    // Higher layers first, so the tiles on a tile have their closure already.
    std::vector<int> order(n);
    for (int i = 0; i < n_; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return tiles_[static_cast<std::size_t>(a)].z > tiles_[static_cast<std::size_t>(b)].z; });
    for (int i : order) {
        const auto k = static_cast<std::size_t>(i);
        Bits c = above_[k];
        above_[k].forEach([&](int j) { c |= closure_[static_cast<std::size_t>(j)]; });
        closure_[k] = c;
    }
    // Side chains: left neighbours have smaller columns, so a walk by column
    // meets them first.
    leftReach_.assign(n, {});
    rightReach_.assign(n, {});
    leftNeed_.assign(n, {});
    rightNeed_.assign(n, {});
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return tiles_[static_cast<std::size_t>(a)].x < tiles_[static_cast<std::size_t>(b)].x; });
    for (int i : order) {
        const auto k = static_cast<std::size_t>(i);
        left_[k].forEach([&](int j) {
            leftReach_[k].set(j);
            leftReach_[k] |= leftReach_[static_cast<std::size_t>(j)];
        });
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const auto k = static_cast<std::size_t>(*it);
        right_[k].forEach([&](int j) {
            rightReach_[k].set(j);
            rightReach_[k] |= rightReach_[static_cast<std::size_t>(j)];
        });
    }
    for (int i = 0; i < n_; ++i) {
        const auto k = static_cast<std::size_t>(i);
        leftNeed_[k] = leftReach_[k];
        leftReach_[k].forEach([&](int j) { leftNeed_[k] |= closure_[static_cast<std::size_t>(j)]; });
        rightNeed_[k] = rightReach_[k];
        rightReach_[k].forEach([&](int j) { rightNeed_[k] |= closure_[static_cast<std::size_t>(j)]; });
    }

    links_.resize(n);
    for (std::size_t k = 0; k < n; ++k)
        links_[k] = Links{above_[k], left_[k], right_[k], deps_[k]};

    std::vector<int> classToGroup;
    for (int i = 0; i < n_; ++i) {
        const auto cls = static_cast<std::size_t>(matchClass(tiles_[static_cast<std::size_t>(i)].face));
        if (classToGroup.size() <= cls)
            classToGroup.resize(cls + 1, -1);
        if (classToGroup[cls] < 0) {
            classToGroup[cls] = static_cast<int>(groups_.size());
            groups_.emplace_back();
        }
        group_[static_cast<std::size_t>(i)] = classToGroup[cls];
        groups_[static_cast<std::size_t>(classToGroup[cls])].set(i);
    }
    deadWith_.assign(n, {});
    for (const Bits& g : groups_)
        g.forEach([&](int a) {
            g.forEach([&](int b) {
                if (b > a && (needWith(a, b).test(b) || needWith(b, a).test(a))) {
                    deadWith_[static_cast<std::size_t>(a)].set(b);
                    deadWith_[static_cast<std::size_t>(b)].set(a);
                }
            });
        });
}

Problem Problem::fromBoard(const modPlitar& game)
{
    std::vector<Tile> tiles;
    for (int z = 1; z <= 10; ++z)
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 50; ++x)
                if (const int16_t f = game.aMap(x, y, z); f != 0)
                    tiles.push_back(Tile{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z), f,
                                         game.aIndex(x, y, z)});
    return Problem(std::move(tiles));
}

int Problem::greedyMate(int t, const Bits& rest, const Bits& free, const Bits& present) const
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
            if (pairDead(x, two.first()))
                mates.reset(c);
        });
    }
    const int first = mates.first();
    if (first < 0)
        return -1;
    mates.reset(first);
    if (!mates.any())
        return first;
    int m = first, most = (dependents(first) & present).count();
    mates.forEach([&](int c) {
        if (const int held = (dependents(c) & present).count(); held > most) {
            most = held;
            m = c;
        }
    });
    return m;
}

Bits Problem::freeSet(const Bits& present) const
{
    Bits f;
    present.forEach([&](int i) {
        if (isFree(i, present))
            f.set(i);
    });
    return f;
}

std::vector<std::pair<int, int>> Problem::openPairs(const Bits& present) const
{
    std::vector<std::pair<int, int>> pairs;
    const Bits f = freeSet(present);
    f.forEach([&](int a) {
        f.forEach([&](int b) {
            if (b > a && group_[static_cast<std::size_t>(a)] == group_[static_cast<std::size_t>(b)])
                pairs.emplace_back(a, b);
        });
    });
    return pairs;
}

// ------------------------------------------------------------------- Solver

Solver::Solver(int tableBits)
{
    tableBits = std::clamp(tableBits, 8, 28);
    table_.assign(std::size_t{1} << tableBits, Entry{});
    mask_ = (uint64_t{1} << tableBits) - 1;
    uint64_t s = 0x706c69746172ULL;
    for (auto& z : zobrist_)
        z = splitmix(s);
}

Solver::~Solver() = default;

bool Solver::knownLost(uint64_t key, const Bits& present) const
{
    for (uint64_t k = 0; k < 4; ++k) {
        const Entry& e = table_[(key + k) & mask_];
        if (e.stamp == stamp_ && e.present == present)
            return true;
    }
    return false;
}

void Solver::storeLost(uint64_t key, const Bits& present)
{
    // Four slots per key; an empty or stale slot first, else the first slot.
    std::size_t victim = key & mask_;
    for (uint64_t k = 0; k < 4; ++k) {
        const std::size_t i = (key + k) & mask_;
        if (table_[i].stamp != stamp_) {
            victim = i;
            break;
        }
    }
    table_[victim] = Entry{present, stamp_};
}

bool Solver::outOfTime()
{
    if (aborted_)
        return true;
    if ((limits_.nodes != 0 && nodes_ >= limits_.nodes) ||
        (deadlineNs_ != 0 && (nodes_ & 255) == 0 && nowNs() > deadlineNs_))
        outOfLimits_ = aborted_ = true;
    else if (runEnd_ != 0 && nodes_ >= runEnd_)
        aborted_ = true;
    return aborted_;
}

void Solver::take(Bits& present, Bits& free, uint64_t& key, int a, int b)
{
    present.reset(a);
    present.reset(b);
    free.reset(a);
    free.reset(b);
    key ^= zobrist_[static_cast<std::size_t>(a)] ^ zobrist_[static_cast<std::size_t>(b)];
    const Bits touched = (p_->dependents(a) | p_->dependents(b)) & present;
    touched.minus(free).forEach([&](int j) {
        if (p_->isFree(j, present))
            free.set(j);
    });
    path_.emplace_back(a, b);
}

// Whether the pair a, b, taken together, has to wait for itself: some pair
// whose partners are already fixed (its group has two tiles left) lies on a or
// b, directly or through a stack, and a or b lies likewise on that pair or on
// one it waits for. Both tiles of a pair must be free at once, so such a
// chain can never be undone.
bool Solver::inCycle(int a, int b, const Bits& present) const
{
    const Bits holding = (p_->needWith(a, b) | p_->needWith(b, a)) & present;
    if (!holding.any())
        return false;  // nothing present holds the pair up
    Bits fixed;
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = present & p_->groupMembers(g);
        if (r.count() == 2)
            fixed |= r;
    }
    fixed.set(a);
    fixed.set(b);
    const auto partnerOf = [&](int x) -> int {
        if (x == a)
            return b;
        if (x == b)
            return a;
        Bits r = present & p_->groupMembers(p_->groupOf(x));
        r.reset(x);
        return r.first();
    };
    Bits seen;
    Bits frontier = holding & fixed;
    while (frontier.any()) {
        if (frontier.test(a) || frontier.test(b))
            return true;
        seen |= frontier;
        Bits next;
        frontier.forEach([&](int x) {
            const int y = partnerOf(x);
            next |= p_->needWith(x, y) | p_->needWith(y, x);
        });
        frontier = (next & fixed).minus(seen);
    }
    return false;
}

bool Solver::groupDead(int g, const Bits& present) const
{
    const Bits r = present & p_->groupMembers(g);
    const int c = r.count();
    if (c % 2 != 0)
        return true;
    if (c != 2 && c != 4)
        return false;
    int t[4];
    int k = 0;
    r.forEach([&](int i) { t[k++] = i; });
    const auto fits = [&](int a, int b) {
        if (p_->leftReach(a).test(b) && p_->rightReach(a).test(b))
            return false;
        return !p_->pairDead(a, b) && !inCycle(a, b, present);
    };
    if (c == 2)
        return !fits(t[0], t[1]);
    return !((fits(t[0], t[1]) && fits(t[2], t[3])) || (fits(t[0], t[2]) && fits(t[1], t[3])) ||
             (fits(t[0], t[3]) && fits(t[1], t[2])));
}

// A relaxed game from `present`: the last two tiles of a group leave together
// once both are free, any other tile leaves alone once free beside a free
// group-mate or after one has left. Every real line is a line of this game, so
// a board it cannot empty is lost. Asked of the dealt position only: inside
// the search it costs more time than the positions it cuts off save.
bool Solver::relaxedClears(Bits present, Bits free) const
{
    std::array<int16_t, kMaxTiles> partner;
    partner.fill(-1);
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = present & p_->groupMembers(g);
        if (r.count() == 2) {
            const int a = r.first();
            Bits rest = r;
            rest.reset(a);
            const int b = rest.first();
            partner[static_cast<std::size_t>(a)] = static_cast<int16_t>(b);
            partner[static_cast<std::size_t>(b)] = static_cast<int16_t>(a);
        }
    }
    const Bits start = present;
    for (bool changed = true; changed;) {
        changed = false;
        Bits touched;
        (free & present).forEach([&](int t) {
            if (!present.test(t))
                return;
            const int u = partner[static_cast<std::size_t>(t)];
            if (u < 0) {
                // Alone only beside a group-mate that is free now or has left.
                Bits mates = start & p_->groupMembers(p_->groupOf(t));
                mates.reset(t);
                if (!(mates & free & present).any() && !mates.minus(present).any())
                    return;
                present.reset(t);
                touched |= p_->dependents(t);
                changed = true;
            } else if (present.test(u) && free.test(u)) {
                present.reset(t);
                present.reset(u);
                touched |= p_->dependents(t) | p_->dependents(u);
                changed = true;
            }
        });
        free = free & present;
        (touched & present).minus(free).forEach([&](int j) {
            if (p_->isFree(j, present))
                free.set(j);
        });
    }
    return !present.any();
}

// A real line played without looking back: a free tile leaves with the free
// tile of its group that Problem::greedyMate picks. True when it empties the
// board; the line is appended to the path.
bool Solver::greedyClears(Bits present, Bits free)
{
    std::array<int16_t, kMaxTiles> stack{};
    int top = 0;
    const std::size_t mark = path_.size();
    const auto remove = [&](int t) {
        present.reset(t);
        (p_->dependents(t) & present).minus(free).forEach([&](int j) {
            if (p_->isFree(j, present)) {
                free.set(j);
                stack[static_cast<std::size_t>(top++)] = static_cast<int16_t>(j);
            }
        });
    };
    free = free & present;
    free.forEach([&](int t) { stack[static_cast<std::size_t>(top++)] = static_cast<int16_t>(t); });
    while (top > 0) {
        const int t = stack[static_cast<std::size_t>(--top)];
        if (!present.test(t))
            continue;
        const int m = p_->greedyMate(t, present & p_->groupMembers(p_->groupOf(t)), free, present);
        if (m >= 0) {
            remove(t);
            remove(m);
            path_.emplace_back(t, m);
        }
    }
    if (present.any()) {
        path_.resize(mark);
        return false;
    }
    return true;
}

// The moves that need no choice (see the top of this file), until none is left.
void Solver::reduce(Bits& present, Bits& free, uint64_t& key)
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (int g = 0; g < p_->groupCount(); ++g) {
            const Bits r = present & p_->groupMembers(g);
            const Bits f = r & free;
            const int fc = f.count();
            if (fc < 2)
                continue;
            const int bc = r.count() - fc;
            if (fc - bc < 2)
                continue;
            Bits keep;
            if (bc > 0) {
                int kept = 0;
                f.forEach([&](int i) {
                    if (kept < bc && !p_->dependents(i).intersects(present)) {
                        keep.set(i);
                        ++kept;
                    }
                });
                if (kept < bc)
                    continue;
            }
            int pending = -1;
            f.minus(keep).forEach([&](int i) {
                if (pending < 0) {
                    pending = i;
                } else {
                    take(present, free, key, pending, i);
                    pending = -1;
                }
            });
            changed = true;
        }
    }
}

bool Solver::search(Bits present, Bits free, uint64_t key, int depth)
{
    ++nodes_;
    if (outOfTime())
        return false;
    const std::size_t mark = path_.size();
    reduce(present, free, key);
    if (!present.any())
        return true;
    if (knownLost(key, present)) {
        path_.resize(mark);
        return false;
    }
    if (greedyClears(present, free))
        return true;

    std::vector<Candidate>& moves = candidates_[static_cast<std::size_t>(depth)];
    moves.clear();
    for (int g = 0; g < p_->groupCount(); ++g) {
        const Bits r = present & p_->groupMembers(g);
        Bits f = r & free;
        if (f.count() < 2)
            continue;
        // Idle free tiles are interchangeable: at most two of them take part.
        int idle = 0;
        f.forEach([&](int i) {
            if (!p_->dependents(i).intersects(present) && ++idle > 2)
                f.reset(i);
        });
        const bool last = r.count() == 2;
        f.forEach([&](int a) {
            f.forEach([&](int b) {
                if (b <= a)
                    return;
                // Score: tiles the move frees, then a finished group, then height.
                Bits after = present;
                after.reset(a);
                after.reset(b);
                int freed = 0;
                ((p_->dependents(a) | p_->dependents(b)) & after).minus(free).forEach([&](int j) {
                    if (p_->isFree(j, after))
                        ++freed;
                });
                int score = freed * 16 + (last ? 8 : 0) + p_->tile(a).z + p_->tile(b).z;
                // The tiles of the group left behind: the more lies on them, the later they come free.
                Bits rest = r;
                rest.reset(a);
                rest.reset(b);
                rest.forEach([&](int x) { score -= 4 * (p_->mustGoFirst(x) & after).count(); });
                if (noise_ != 0) {
                    uint64_t h = noise_ ^ (static_cast<uint64_t>(a) << 8 | static_cast<uint64_t>(b)) ^ key;
                    score += static_cast<int>(splitmix(h) % 400);
                }
                moves.push_back(Candidate{a, b, score});
            });
        });
    }
    sortFew(moves.begin(), moves.end(), [](const Candidate& x, const Candidate& y) { return x.score > y.score; });

    for (const Candidate& c : moves) {
        Bits np = present, nf = free;
        uint64_t nk = key;
        take(np, nf, nk, c.a, c.b);
        if (!groupDead(p_->groupOf(c.a), np) && search(np, nf, nk, depth + 1))
            return true;
        path_.pop_back();
        if (aborted_)
            break;
    }
    if (!aborted_)
        storeLost(key, present);
    path_.resize(mark);
    return false;
}

Result Solver::solve(const Problem& problem, Limits limits)
{
    p_ = &problem;
    limits_ = limits;
    nodes_ = 0;
    aborted_ = false;
    outOfLimits_ = false;
    deadlineNs_ = limits.seconds > 0 ? nowNs() + static_cast<int64_t>(limits.seconds * 1e9) : 0;
    path_.clear();
    if (candidates_.size() < kMaxTiles / 2 + 2)
        candidates_.resize(kMaxTiles / 2 + 2);
    if (++stamp_ == 0) {  // the stamps wrapped: forget every entry
        for (Entry& e : table_)
            e.stamp = 0;
        stamp_ = 1;
    }

    Result result;
    const Bits present = problem.all();
    bool hopeless = false;
    for (int g = 0; g < problem.groupCount() && !hopeless; ++g)
        hopeless = groupDead(g, present);
    if (!hopeless)
        hopeless = !relaxedClears(present, problem.freeSet(present));
    uint64_t key = 0;
    present.forEach([&](int i) { key ^= zobrist_[static_cast<std::size_t>(i)]; });
    // Short attempts, each but the first in a shaken order; the lost
    // positions found stay in the table, so every attempt starts from what
    // the ones before proved, and the last one runs to the end.
    bool won = false;
    bool decided = hopeless;
    if (!hopeless && method_ != Method::Partners) {
        const Bits free = problem.freeSet(present);
        for (int attempt = 0;; ++attempt) {
            noise_ = attempt == 0 ? 0 : 0x9e3779b97f4a7c15ULL * static_cast<uint64_t>(attempt);
            runEnd_ = attempt < kAttempts ? nodes_ + kAttemptNodes : 0;
            if (method_ == Method::Both && (runEnd_ == 0 || runEnd_ > kMoveNodes))
                runEnd_ = kMoveNodes;
            aborted_ = false;
            path_.clear();
            won = search(present, free, key, 0);
            if (won || !aborted_ || outOfLimits_) {
                decided = won || !aborted_;
                break;
            }
            if (method_ == Method::Both && nodes_ >= kMoveNodes)
                break;
        }
    }
    if (!decided && !outOfLimits_ && method_ != Method::Moves) {
        if (!partners_)
            partners_ = std::make_unique<PartnerSearch>();
        const uint64_t before = nodes_;
        const std::function<bool()> stop = [&] {
            const uint64_t n = before + partners_->nodes();
            if ((limits_.nodes != 0 && n >= limits_.nodes) || (deadlineNs_ != 0 && nowNs() > deadlineNs_))
                outOfLimits_ = true;
            return outOfLimits_;
        };
        path_.clear();
        const Outcome o = partners_->solve(problem, stop, path_);
        nodes_ = before + partners_->nodes();
        won = o == Outcome::Won;
    }
    result.nodes = nodes_;
    if (won) {
        result.outcome = Outcome::Won;
        result.moves = path_;
    } else {
        result.outcome = outOfLimits_ ? Outcome::Undecided : Outcome::Lost;
    }
    p_ = nullptr;
    return result;
}

}  // namespace plitar::solver
