#include "solver/Play.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "board/modPlitar.h"
#include "maps/modMaps.h"
#include "solver/Mix.h"

namespace plitar::solver {

namespace {

// Occupied cells in scan order, as (x, y, z).
std::vector<std::array<int, 3>> occupiedCells(const modPlitar& game)
{
    std::vector<std::array<int, 3>> cells;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        if (game.aMap.atIndex(cell) != 0)
            cells.push_back({x, y, z});
    });
    return cells;
}

}  // namespace

uint64_t dealSeed(uint64_t runSeed, int layout, uint64_t deal, int purpose)
{
    uint64_t h = mix(runSeed);
    h = scramble(h ^ (static_cast<uint64_t>(layout) * 0x100000001b3ULL));
    h = scramble(h ^ (deal + 0x632be59bd9b4e019ULL));
    return scramble(h ^ static_cast<uint64_t>(purpose) * 0xd6e8feb86659fd93ULL);
}

void dealGame(modPlitar& game, int layout)
{
    game.subClear();
    buildLayout(game, layout);
    for (int n = 1; n <= game.nTotal; ++n)
        game.aLoaded[static_cast<std::size_t>(n)] = 1;
}

void dealStandard(modPlitar& game, int layout)
{
    dealGame(game, layout);
    const auto cells = occupiedCells(game);
    if (cells.size() != static_cast<std::size_t>(kMaxTiles))
        throw std::invalid_argument("the usual deal needs 144 tiles, layout " + std::to_string(layout) + " has " +
                                    std::to_string(cells.size()));
    std::array<int16_t, kMaxTiles> pool{};
    std::size_t k = 0;
    for (int f = 1; f <= 34; ++f)
        for (int c = 0; c < 4; ++c)
            pool[k++] = static_cast<int16_t>(f);
    for (int f = 35; f <= 42; ++f)
        pool[k++] = static_cast<int16_t>(f);
    // Fisher-Yates on the host's generator, each index drawn without bias.
    auto& gen = dynamic_cast<SeededHost&>(game.host()).generator();
    for (std::size_t i = pool.size() - 1; i > 0; --i) {
        const uint64_t bound = i + 1;
        const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
        uint64_t v;
        do
            v = gen();
        while (v >= limit);
        std::swap(pool[i], pool[static_cast<std::size_t>(v % bound)]);
    }
    for (std::size_t i = 0; i < cells.size(); ++i)
        game.aMap.set(cells[i][0], cells[i][1], cells[i][2], pool[i]);
}

int removePair(modPlitar& game, int16_t first, int16_t second)
{
    game.nSel1 = first;
    game.nSel2 = second;
    return game.funDelPair();
}

bool replay(modPlitar& game, const Problem& problem, const Result& result)
{
    game.nSel1 = 0;  // the line starts with nothing selected
    game.nSel2 = 0;
    for (const auto& [a, b] : result.moves) {
        const int16_t na = problem.tile(a).number, nb = problem.tile(b).number;
        // Two clicks: the first must select its tile, the second take both off.
        game.funClick(na);
        if (game.nSel1 != na || game.funClick(nb) != 1)
            return false;
    }
    return true;
}

PlayOut playOut(modPlitar& game, Solver& solver, Limits limits)
{
    PlayOut out;
    if (game.funAutoSort() == 1)
        ++out.shuffles;
    for (;;) {
        if (game.funTilesLeft() == 0) {
            out.emptied = true;
            return out;
        }
        if (game.funPairs() == 0)
            return out;  // a hundred shuffles opened nothing
        const Problem problem = Problem::fromBoard(game);
        const Result r = solver.solve(problem, limits);
        ++out.solves;
        if (r.outcome == Outcome::Undecided)
            ++out.undecided;
        if (r.outcome == Outcome::Won) {
            // A winning line never runs out of pairs, so nothing shuffles on the way.
            for (const auto& [a, b] : r.moves)
                if (removePair(game, problem.tile(a).number, problem.tile(b).number) == 1)
                    ++out.shuffles;
            continue;
        }
        // No win from here: the pair after which most tiles are free, until the
        // game shuffles by itself.
        Bits present = problem.all();
        for (;;) {
            int best = -1, bestA = -1, bestB = -1;
            for (const auto& [a, b] : problem.openPairs(present)) {
                Bits after = present;
                after.reset(a);
                after.reset(b);
                const int freeAfter = problem.freeSet(after).count();
                if (freeAfter > best) {
                    best = freeAfter;
                    bestA = a;
                    bestB = b;
                }
            }
            if (bestA < 0)
                break;  // cannot happen: the game shuffles when no pair is open
            present.reset(bestA);
            present.reset(bestB);
            if (removePair(game, problem.tile(bestA).number, problem.tile(bestB).number) == 1) {
                ++out.shuffles;
                break;
            }
            if (!present.any())
                break;
        }
    }
}

struct Workers::Slot {
    SeededHost host{0};
    modPlitar game{host};
    Solver solver;
};

Workers::Workers(int threads)
{
    for (int i = 0; i < std::max(threads, 1); ++i)
        slots_.push_back(std::make_unique<Slot>());
}

Workers::~Workers() = default;

void Workers::run(long long count, const std::function<void(long long, SeededHost&, modPlitar&, Solver&)>& body)
{
    std::atomic<long long> next{0};
    std::mutex faultLock;
    std::string fault;
    const auto work = [&](Slot& slot) {
        for (long long k; (k = next.fetch_add(1)) < count;) {
            try {
                body(k, slot.host, slot.game, slot.solver);
            } catch (const std::exception& e) {
                const std::lock_guard lock(faultLock);
                if (fault.empty())
                    fault = e.what();
                next = count;
            }
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t i = 1; i < slots_.size(); ++i)
        pool.emplace_back(work, std::ref(*slots_[i]));
    work(*slots_[0]);
    for (auto& t : pool)
        t.join();
    if (!fault.empty())
        throw std::runtime_error(fault);
}

Tally solveDeals(int layout, long long deals, uint64_t seed, bool usual, int threads, Limits limits,
                 const std::function<void(const Tally&)>& progress)
{
    std::atomic<long long> won{0}, lost{0}, undecided{0};
    std::mutex progressLock;
    Workers workers(threads);
    workers.run(deals, [&](long long k, SeededHost& host, modPlitar& game, Solver& solver) {
        host.reseed(dealSeed(seed, layout, static_cast<uint64_t>(k), usual ? 1 : 0));
        if (usual)
            dealStandard(game, layout);
        else
            dealGame(game, layout);
        const Outcome o = solver.solve(Problem::fromBoard(game), limits).outcome;
        (o == Outcome::Won ? won : o == Outcome::Lost ? lost : undecided).fetch_add(1);
        if (progress && (k + 1) % 1000 == 0) {
            const std::lock_guard lock(progressLock);
            progress(Tally{won.load(), lost.load(), undecided.load()});
        }
    });
    return Tally{won.load(), lost.load(), undecided.load()};
}

}  // namespace plitar::solver
