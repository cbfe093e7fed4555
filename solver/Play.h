// Deals and games for the solver's figures, run on the game's own state
// object on a SeededHost: the game's dealer and shuffle, the usual deal of
// this kind of game for comparison, and a scripted player.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "board/SeededHost.h"
#include "solver/Solver.h"

namespace plitar {
class modPlitar;
}

namespace plitar::solver {

// The seed of one deal: a function of the run's seed, the layout, the deal's
// place in the run and what the deal is for, so that every deal is the same
// whatever the number of threads.
uint64_t dealSeed(uint64_t runSeed, int layout, uint64_t deal, int purpose);

// Builds layout 1..46 on a cleared board and deals it with the game's dealer,
// then counts the sprites as shown (aLoaded 1..nTotal), as a new game does.
void dealGame(modPlitar& game, int layout);
// The same layout dealt as usual: each of the 36 groups (34 faces, the four
// flowers, the four seasons) on exactly four tiles, uniformly at random.
// Throws std::invalid_argument for a layout that is not 144 tiles.
void dealStandard(modPlitar& game, int layout);

// One pair taken off as a click on each tile does it: the caption, then the
// automatic shuffle. Returns what funAutoSort answered (1: it shuffled).
int removePair(modPlitar& game, int16_t first, int16_t second);

// Plays a solver's line on the board through the click rules. False when a
// move is not two free matching tiles; true when all moves were made.
bool replay(modPlitar& game, const Problem& problem, const Result& result);

struct PlayOut {
    bool emptied = false;  // the game ended on an empty board
    int shuffles = 0;      // times the game shuffled by itself (funAutoSort answered 1)
    int solves = 0;
    int undecided = 0;     // solver runs that reached their limit
};
// A game as played by default from a fresh deal: funAutoSort at the start and
// after every pair; a player who plays a winning line whenever the position
// can still be won, and otherwise the pair after which most tiles are free
// (the first such pair in scan order).
PlayOut playOut(modPlitar& game, Solver& solver, Limits limits);

struct Tally {
    long long won = 0, lost = 0, undecided = 0;
    friend bool operator==(const Tally&, const Tally&) = default;
};
// Deals `deals` boards of a layout (the game's deal, or the usual one) and
// solves each, on `threads` threads. Deal k is made from dealSeed(seed,
// layout, k, usual ? 1 : 0) whatever thread takes it, so the tally does not
// depend on the thread count.
// `progress`, when given, is called now and then (from one thread at a time)
// with the tally of the deals finished so far.
Tally solveDeals(int layout, long long deals, uint64_t seed, bool usual, int threads, Limits limits,
                 const std::function<void(const Tally&)>& progress = {});

// Runs body(k, board, solver) for k = 0..count-1 on `threads` threads, each
// with its own board (on a SeededHost) and solver. An exception in one call
// stops the run and is thrown again here.
class Workers {
public:
    explicit Workers(int threads);
    ~Workers();
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    struct Slot;
    void run(long long count, const std::function<void(long long, SeededHost&, modPlitar&, Solver&)>& body);

private:
    std::vector<std::unique_ptr<Slot>> slots_;
};

}  // namespace plitar::solver
