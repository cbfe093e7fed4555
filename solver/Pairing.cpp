#include "solver/Pairing.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace plitar::solver {

namespace {

int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Every way to split `tiles` (an even number) into pairs.
void splits(std::vector<int>& tiles, std::vector<std::pair<int, int>>& current,
            std::vector<std::vector<std::pair<int, int>>>& out)
{
    if (tiles.empty()) {
        out.push_back(current);
        return;
    }
    const int a = tiles.front();
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        const int b = tiles[i];
        std::vector<int> rest;
        for (std::size_t k = 1; k < tiles.size(); ++k)
            if (k != i)
                rest.push_back(tiles[k]);
        current.emplace_back(a, b);
        splits(rest, current, out);
        current.pop_back();
    }
}

}  // namespace

bool PairingSolver::outOfLimits()
{
    if (aborted_)
        return true;
    if ((limits_.nodes != 0 && checks_ >= limits_.nodes) ||
        (deadlineNs_ != 0 && (checks_ & 63) == 0 && nowNs() > deadlineNs_))
        aborted_ = true;
    return aborted_;
}

void PairingSolver::assign(int g, const Pairing& p)
{
    for (const auto& [a, b] : p) {
        partner_[static_cast<std::size_t>(a)] = b;
        partner_[static_cast<std::size_t>(b)] = a;
    }
    decided_[static_cast<std::size_t>(g)] = true;
}

void PairingSolver::unassign(int g)
{
    p_->groupMembers(g).forEach([&](int t) { partner_[static_cast<std::size_t>(t)] = -1; });
    decided_[static_cast<std::size_t>(g)] = false;
}

// The relaxed game: chosen pairs leave together once both are free, tiles of
// open groups leave alone once free. True when the board empties; `line`
// receives the pairs in the order they left (meaningful when every group is
// chosen). round_ records when each tile left.
bool PairingSolver::relaxedClears(std::vector<std::pair<int, int>>* line)
{
    ++checks_;
    Bits present = p_->all();
    Bits free = p_->freeSet(present);
    const auto gone = [&](int t) {
        present.reset(t);
        free.reset(t);
    };
    const auto refresh = [&](const Bits& touched) {
        (touched & present).minus(free).forEach([&](int j) {
            if (p_->isFree(j, present))
                free.set(j);
        });
    };
    for (int round = 1;; ++round) {
        bool changed = false;
        const Bits snapshot = free & present;
        Bits touched;
        snapshot.forEach([&](int t) {
            if (!present.test(t))
                return;
            const int u = partner_[static_cast<std::size_t>(t)];
            if (u < 0) {
                gone(t);
                round_[static_cast<std::size_t>(t)] = round;
                touched |= p_->dependents(t);
                changed = true;
            } else if (present.test(u) && free.test(u)) {
                gone(t);
                gone(u);
                round_[static_cast<std::size_t>(t)] = round;
                round_[static_cast<std::size_t>(u)] = round;
                touched |= p_->dependents(t) | p_->dependents(u);
                if (line)
                    line->emplace_back(t, u);
                changed = true;
            }
        });
        if (!changed)
            break;
        refresh(touched);
    }
    return !present.any();
}

bool PairingSolver::search()
{
    if (outOfLimits())
        return false;
    std::vector<int> forcedHere;
    const auto undo = [&] {
        for (int g : forcedHere)
            unassign(g);
        return false;
    };

    // Each open group's splits that still pass the relaxed game; a group left
    // with one is chosen at once, a group left with none ends the branch.
    int best = -1;
    std::vector<int> bestOptions;
    for (bool again = true; again;) {
        again = false;
        best = -1;
        bestOptions.clear();
        int bestEarliest = INT_MAX;
        for (int g = 0; g < p_->groupCount(); ++g) {
            if (decided_[static_cast<std::size_t>(g)])
                continue;
            std::vector<int> feasible;
            const auto& opts = options_[static_cast<std::size_t>(g)];
            for (std::size_t o = 0; o < opts.size(); ++o) {
                assign(g, opts[o]);
                const bool ok = relaxedClears(nullptr);
                unassign(g);
                if (ok)
                    feasible.push_back(static_cast<int>(o));
                if (outOfLimits())
                    return undo();
            }
            if (feasible.empty())
                return undo();
            if (feasible.size() == 1) {
                assign(g, opts[static_cast<std::size_t>(feasible[0])]);
                forcedHere.push_back(g);
                again = true;
                continue;
            }
            int earliest = INT_MAX;
            p_->groupMembers(g).forEach(
                [&](int t) { earliest = std::min(earliest, round_[static_cast<std::size_t>(t)]); });
            if (best < 0 || feasible.size() < bestOptions.size() ||
                (feasible.size() == bestOptions.size() && earliest < bestEarliest)) {
                best = g;
                bestOptions = feasible;
                bestEarliest = earliest;
            }
        }
    }
    if (best < 0) {
        std::vector<std::pair<int, int>> line;
        if (relaxedClears(&line)) {
            line_ = std::move(line);
            return true;
        }
        return undo();
    }

    // Splits whose partners leave at nearly the same time in the relaxed game first.
    relaxedClears(nullptr);
    const auto& opts = options_[static_cast<std::size_t>(best)];
    std::vector<std::pair<int, int>> scored;
    for (int o : bestOptions) {
        int spread = 0;
        for (const auto& [a, b] : opts[static_cast<std::size_t>(o)])
            spread += std::abs(round_[static_cast<std::size_t>(a)] - round_[static_cast<std::size_t>(b)]);
        scored.emplace_back(spread, o);
    }
    std::stable_sort(scored.begin(), scored.end());
    for (const auto& [spread, o] : scored) {
        assign(best, opts[static_cast<std::size_t>(o)]);
        if (search())
            return true;
        unassign(best);
        if (aborted_)
            break;
    }
    return undo();
}

Result PairingSolver::solve(const Problem& problem, Limits limits)
{
    p_ = &problem;
    limits_ = limits;
    checks_ = 0;
    aborted_ = false;
    deadlineNs_ = limits.seconds > 0 ? nowNs() + static_cast<int64_t>(limits.seconds * 1e9) : 0;
    const auto n = static_cast<std::size_t>(problem.size());
    partner_.assign(n, -1);
    round_.assign(n, 0);
    decided_.assign(static_cast<std::size_t>(problem.groupCount()), false);
    options_.assign(static_cast<std::size_t>(problem.groupCount()), {});
    line_.clear();

    Result result;
    bool hopeless = false;
    for (int g = 0; g < problem.groupCount(); ++g) {
        std::vector<int> tiles;
        problem.groupMembers(g).forEach([&](int t) { tiles.push_back(t); });
        if (tiles.size() % 2 != 0) {
            hopeless = true;
            break;
        }
        std::vector<Pairing> all;
        std::vector<std::pair<int, int>> current;
        splits(tiles, current, all);
        // A pair one of whose tiles must be gone before the other can be free
        // can never come off.
        const auto fits = [&](int a, int b) {
            return !problem.needWith(a, b).test(b) && !problem.needWith(b, a).test(a) &&
                   !(problem.leftReach(a).test(b) && problem.rightReach(a).test(b));
        };
        for (const Pairing& s : all)
            if (std::all_of(s.begin(), s.end(), [&](const auto& pr) { return fits(pr.first, pr.second); }))
                options_[static_cast<std::size_t>(g)].push_back(s);
        if (options_[static_cast<std::size_t>(g)].empty())
            hopeless = true;
    }
    const bool won = !hopeless && search();
    result.nodes = checks_;
    if (won) {
        result.outcome = Outcome::Won;
        result.moves = line_;
    } else {
        result.outcome = aborted_ ? Outcome::Undecided : Outcome::Lost;
    }
    p_ = nullptr;
    return result;
}

}  // namespace plitar::solver
