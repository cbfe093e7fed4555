// How long each command takes on a 144-tile board, the repaint of the window
// included: a layout start, "Заново", "Перемешать" at its worst (101 shuffles
// on a board no shuffle can open), a switch of the tile size, the grey option
// and the removal of one pair; and a step of the keyboard focus. A frame is
// 16 ms; every command must fit in one, and a focus step in 2 ms.
//
//   bench_view_commands   (runs on Qt's offscreen platform)
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

#include "app/frmMain.h"
#include "view/BoardFocus.h"

using namespace plitar;

namespace {

// Each benchmark owns its window, gone when the benchmark ends, before the
// application object that main owns.
std::unique_ptr<frmMain> makeWindow()
{
    frmMainOptions o;
    o.seed = 2024;
    auto w = std::make_unique<frmMain>(o);
    w->show();
    (void)QTest::qWaitForWindowExposed(w.get());
    w->layoutItem(1)->trigger();  // "Черепаха", 144 tiles
    w->repaint();
    return w;
}

// What the player waits for after a command: the whole window drawn anew.
void drawn(frmMain& w)
{
    w.repaint();
    benchmark::ClobberMemory();
}

// A layout start from the menu; the argument is the catalog number (1..6 hold
// 144 tiles each).
void BM_LayoutStart(benchmark::State& state)
{
    auto w = makeWindow();
    QAction* item = w->layoutItem(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        item->trigger();
        drawn(*w);
    }
    state.counters["tiles"] = w->game().nTotal;
}
BENCHMARK(BM_LayoutStart)->DenseRange(1, 6)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReNew(benchmark::State& state)
{
    auto w = makeWindow();
    QAction* item = w->item("mnuReNew");
    for (auto _ : state) {
        item->trigger();
        drawn(*w);
    }
}
BENCHMARK(BM_ReNew)->Unit(benchmark::kMillisecond)->UseRealTime();

// 144 tiles that no shuffle can open: a pyramid of eight layers, each tile
// under one of the layer above, and four more beneath, so that only the top
// tile is ever free. The faces are those of a real deal, the tile numbers run
// backwards along the scan order as the dealer gives them, and every sprite
// stands on its cell.
void makeStuck(frmMain& w)
{
    modPlitar& g = w.game();
    std::vector<int16_t> faces;
    forEachPlayableCell([&](int cell, int, int, int) {
        if (g.aMap.atIndex(cell) != 0)
            faces.push_back(g.aMap.atIndex(cell));
    });
    g.aMap.clear();
    g.aIndex.clear();
    // Layer 10 holds one tile at (16, 15); layer 10 - k a (k+1) x (k+1)
    // square two columns and rows apart, centred under it.
    auto place = [&](int x, int y, int z) { g.aMap.set(x, y, z, 1); };
    for (int k = 0; k <= 6; ++k)
        for (int j = 0; j <= k; ++j)
            for (int i = 0; i <= k; ++i)
                place(16 - k + 2 * i, 15 - k + 2 * j, 10 - k);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i)
            place(15 + 2 * i, 14 + 2 * j, 3);  // 140 + 4
    int16_t n = 144;
    size_t f = 0;
    forEachPlayableCell([&](int cell, int, int, int) {
        if (g.aMap.atIndex(cell) == 0)
            return;
        g.aMap.setIndex(cell, faces[f++]);
        g.aIndex.setIndex(cell, n);
        w.board()->setSpritePos(n, QPoint(g.aLeft.atIndex(cell), g.aTop.atIndex(cell)));
        --n;
    });
    w.subRepaint();
}

// "Перемешать" where no shuffle opens a pair: all 101 shuffles, then the repaint.
void BM_SortWorstCase(benchmark::State& state)
{
    auto w = makeWindow();
    w->item("mnuAutoSort")->trigger();  // off: the board stays as it is built
    makeStuck(*w);
    if (w->game().funPairs() != 0 || w->game().funTilesLeft() != 144) {
        state.SkipWithError("the stuck board is not stuck");
        return;
    }
    QAction* item = w->item("mnuSort");
    for (auto _ : state) {
        item->trigger();
        drawn(*w);
    }
    if (!w->windowTitle().endsWith(QStringLiteral(" Не перемешивается")))
        state.SkipWithError("the shuffle opened a pair");
}
BENCHMARK(BM_SortWorstCase)->Unit(benchmark::kMillisecond)->UseRealTime();

// "Перемешать" on a dealt board: usually the first shuffle opens a pair.
void BM_Sort(benchmark::State& state)
{
    auto w = makeWindow();
    QAction* item = w->item("mnuSort");
    for (auto _ : state) {
        item->trigger();
        drawn(*w);
    }
}
BENCHMARK(BM_Sort)->Unit(benchmark::kMillisecond)->UseRealTime();

// A switch between two sizes whose pictures are made already, there and back
// by turns, and the first switch to a size in a new window, which makes its
// pictures.
void BM_SizeSwitch(benchmark::State& state)
{
    auto w = makeWindow();
    QAction* to = w->sizeItem(static_cast<int>(state.range(0)));
    QAction* back = w->sizeItem(56);
    to->trigger();
    back->trigger();
    bool there = false;
    for (auto _ : state) {
        there = !there;
        (there ? to : back)->trigger();
        drawn(*w);
    }
}
BENCHMARK(BM_SizeSwitch)->Arg(70)->Arg(63)->Arg(49)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SizeSwitchFirst(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto w = makeWindow();
        QAction* to = w->sizeItem(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        to->trigger();
        drawn(*w);
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SizeSwitchFirst)->Arg(70)->Arg(49)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_Gray(benchmark::State& state)
{
    auto w = makeWindow();
    QAction* item = w->item("mnuGray");
    for (auto _ : state) {
        item->trigger();
        drawn(*w);
    }
}
BENCHMARK(BM_Gray)->Unit(benchmark::kMillisecond)->UseRealTime();

// The second click of a pair, as the player makes it, on a board of 144 down
// to 100 tiles: the removal, the caption, the check for a shuffle and the repaint.
void BM_Removal(benchmark::State& state)
{
    auto w = makeWindow();
    modPlitar& g = w->game();
    BoardView& b = *w->board();
    // A pixel where sprite n is the topmost.
    auto pixelOf = [&](int n) -> std::optional<QPoint> {
        const QRect r = b.spriteRect(n);
        for (int y = r.top(); y <= r.bottom(); y += 2)
            for (int x = r.left(); x <= r.right(); x += 2)
                if (b.spriteAt(QPoint(x, y)) == n)
                    return QPoint(x, y);
        return std::nullopt;
    };
    // Two free tiles of matching faces, both to be seen.
    auto openPair = [&]() -> std::optional<std::pair<QPoint, QPoint>> {
        std::vector<std::pair<int16_t, int16_t>> free;  // tile, face
        forEachPlayableCell([&](int cell, int, int, int) {
            if (const int16_t n = g.aIndex.atIndex(cell); n != 0 && g.funEnSel(n) == 1)
                free.emplace_back(n, g.aMap.atIndex(cell));
        });
        for (size_t i = 0; i < free.size(); ++i)
            for (size_t j = i + 1; j < free.size(); ++j)
                if (facesMatch(free[i].second, free[j].second)) {
                    auto p = pixelOf(free[i].first), q = pixelOf(free[j].first);
                    if (p && q)
                        return std::make_pair(*p, *q);
                }
        return std::nullopt;
    };
    for (auto _ : state) {
        state.PauseTiming();
        auto pair = openPair();
        if (!pair || g.funTilesLeft() < 100) {
            w->layoutItem(1)->trigger();
            pair = openPair();
        }
        QTest::mouseClick(&b, Qt::LeftButton, Qt::NoModifier, pair->first);
        drawn(*w);
        const int before = g.funTilesLeft();
        state.ResumeTiming();
        QTest::mouseClick(&b, Qt::LeftButton, Qt::NoModifier, pair->second);
        drawn(*w);
        if (g.funTilesLeft() != before - 2) {
            state.SkipWithError("the pair was not removed");
            break;
        }
    }
}
BENCHMARK(BM_Removal)->Unit(benchmark::kMillisecond)->UseRealTime();

// A step of the keyboard focus on a 144-tile board, as the player presses
// the key: the arrows round a square (argument 0) or Tab over the free tiles
// (1), each followed by the repaint of what changed (the ring leaving one
// tile and coming to the next).
void BM_FocusStep(benchmark::State& state)
{
    auto w = makeWindow();
    BoardView* b = w->board();
    w->activateWindow();
    (void)QTest::qWaitForWindowActive(w.get());
    const Qt::Key arrows[] = {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up};
    size_t k = 0;
    for (auto _ : state) {
        QTest::keyClick(b, state.range(0) == 0 ? arrows[k++ % 4] : Qt::Key_Tab);
        QCoreApplication::processEvents();  // the repaint
        benchmark::ClobberMemory();
    }
    if (!b->focus().ringShown() || b->focus().tile() == 0)
        state.SkipWithError("the focus did not move");
    state.counters["tiles"] = w->game().nTotal;
}
BENCHMARK(BM_FocusStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

// The application object lives in main: made before the first window and
// destroyed after the last one, but before the exit handlers, which would
// otherwise find Qt's own objects gone when they destroy it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
