// The open-pair count and the shuffle loop on a dealt 144-tile board, each
// beside the literal rules that find every tile by walking the board.
//   build/bench/bench_board
#include <benchmark/benchmark.h>

#include "LiteralRules.h"
#include "board/SeededHost.h"
#include "board/modPlitar.h"
#include "maps/modMaps.h"

namespace plitar {
namespace {

// Layout 1, "Черепаха", dealt; the sprites counted as shown.
struct Dealt {
    SeededHost host{12345};
    modPlitar game{host};
    Dealt()
    {
        buildLayout(game, 1);
        for (int n = 1; n <= game.nTotal; ++n)
            game.aLoaded[n] = 1;
    }
};

void Pairs(benchmark::State& state)
{
    Dealt d;
    for (auto _ : state)
        benchmark::DoNotOptimize(d.game.funPairs());
}
BENCHMARK(Pairs);

void PairsLiteral(benchmark::State& state)
{
    Dealt d;
    for (auto _ : state)
        benchmark::DoNotOptimize(literal::pairs(d.game));
}
BENCHMARK(PairsLiteral)->Unit(benchmark::kMicrosecond);

// The worst case of "Перемешать": 101 shuffles, each followed by the count.
void Shuffle101(benchmark::State& state)
{
    Dealt d;
    for (auto _ : state)
        for (int i = 0; i < 101; ++i) {
            d.game.subSort();
            benchmark::DoNotOptimize(d.game.funPairs());
        }
}
BENCHMARK(Shuffle101)->Unit(benchmark::kMicrosecond);

void Shuffle101Literal(benchmark::State& state)
{
    Dealt d;
    const std::function<float()> rnd = [&] { return d.host.rnd(); };
    for (auto _ : state)
        for (int i = 0; i < 101; ++i) {
            literal::sort(d.game, rnd);
            benchmark::DoNotOptimize(literal::pairs(d.game));
        }
}
BENCHMARK(Shuffle101Literal)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plitar

BENCHMARK_MAIN();
