// The solver on "Черепаха": a fixed run of deals, usual and as this game deals,
// on one and on two threads. Time per deal is the iteration time / 1,000; each
// deal is bounded by 1,000,000 nodes, so the work is the same on a busy machine.
//   build/bench/bench_solver
#include <benchmark/benchmark.h>

#include <chrono>

#include "solver/Play.h"

namespace plitar::solver {
namespace {

constexpr long long kDeals = 1000;

void SolveTurtle(benchmark::State& state)
{
    const bool usual = state.range(0) != 0;
    const int threads = static_cast<int>(state.range(1));
    Tally t;
    double seconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        t = solveDeals(1, kDeals, 1, usual, threads, Limits{0, 1000000});
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["won"] = static_cast<double>(t.won);
    state.counters["lost"] = static_cast<double>(t.lost);
    state.counters["undecided"] = static_cast<double>(t.undecided);
    state.counters["ms_per_deal"] =
        seconds * 1000.0 / static_cast<double>(kDeals) / static_cast<double>(state.iterations());
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
