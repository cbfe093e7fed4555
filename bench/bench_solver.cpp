// The solver on "Черепаха": a fixed run of deals, usual and as this game deals,
// on one and on two threads. Time per deal is the iteration time / 200.
//   build/bench/bench_solver
#include <benchmark/benchmark.h>

#include "solver/Play.h"

namespace plitar::solver {
namespace {

constexpr long long kDeals = 200;

void SolveTurtle(benchmark::State& state)
{
    const bool usual = state.range(0) != 0;
    const int threads = static_cast<int>(state.range(1));
    Tally t;
    for (auto _ : state)
        t = solveDeals(1, kDeals, 1, usual, threads, Limits{10, 0});
    state.counters["won"] = static_cast<double>(t.won);
    state.counters["lost"] = static_cast<double>(t.lost);
    state.counters["undecided"] = static_cast<double>(t.undecided);
    state.counters["ms_per_deal"] = benchmark::Counter(static_cast<double>(kDeals) * 1e-3,
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}
BENCHMARK(SolveTurtle)
    ->ArgNames({"usual", "threads"})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace plitar::solver

BENCHMARK_MAIN();
