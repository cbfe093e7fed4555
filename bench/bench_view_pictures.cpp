// How long the tile pictures take to make: the first size (as at start-up),
// any later size, and looking a picture up once made, at device pixel ratio 1
// and on scaled screens (the benchmark's second number is the ratio in
// hundredths). The face art itself is rendered at build time for ratios 1,
// 1.5 and 2, where making a size reads its sheet of symbol layers; other
// ratios (here 1.25) render the art from its SVG.
//
//   bench_view_pictures   (runs on Qt's offscreen platform)
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "view/TilePictures.h"

using namespace plitar;

// Pictures are painted with Qt, which wants its application object first.
static void ensureApplication()
{
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_view_pictures";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

static double ratioOf(const benchmark::State& state, int index)
{
    return static_cast<double>(state.range(index)) / 100;
}

// Start-up: a fresh store makes every look of size 56.
static void BM_FirstSize(benchmark::State& state)
{
    ensureApplication();
    const double ratio = ratioOf(state, 0);
    for (auto _ : state) {
        TilePictures pictures;
        pictures.setDevicePixelRatio(ratio);
        pictures.prepare(56);
        benchmark::DoNotOptimize(pictures.picture(TileLook::Grey, 56, 42).constBits());
    }
}
BENCHMARK(BM_FirstSize)->Arg(100)->Arg(150)->Arg(200)->Arg(125)->Unit(benchmark::kMillisecond);

// A switch to another size once a first size is made.
static void BM_AnotherSize(benchmark::State& state)
{
    ensureApplication();
    const int size = static_cast<int>(state.range(0));
    const double ratio = ratioOf(state, 1);
    for (auto _ : state) {
        state.PauseTiming();
        TilePictures pictures;
        pictures.setDevicePixelRatio(ratio);
        pictures.prepare(size == 56 ? 49 : 56);
        state.ResumeTiming();
        pictures.prepare(size);
        benchmark::DoNotOptimize(pictures.picture(TileLook::Grey, size, 42).constBits());
    }
}
BENCHMARK(BM_AnotherSize)
    ->ArgsProduct({{70, 63, 56, 49}, {100, 150, 200}})
    ->Args({70, 125})
    ->Unit(benchmark::kMillisecond);

// Looking a picture up once it is made: what every repaint does per tile.
static void BM_Lookup(benchmark::State& state)
{
    ensureApplication();
    TilePictures pictures;
    pictures.prepare(56);
    int face = 0;
    for (auto _ : state) {
        face = face % kFaceCount + 1;
        benchmark::DoNotOptimize(&pictures.picture(TileLook::Normal, 56, face));
    }
}
BENCHMARK(BM_Lookup);

BENCHMARK_MAIN();
