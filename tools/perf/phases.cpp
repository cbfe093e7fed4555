// Where the game's start-up time goes, measured inside one process: the
// application object, the tile pictures of the first size, the icon, the
// window with its first deal, and the first frame with what follows it (the
// icon handed over, the selected look made). Each step is timed on its own
// the first time it runs in the process, as at a real start.
//   DISPLAY=:N perf_phases        (or QT_QPA_PLATFORM=offscreen perf_phases;
//                                  QT_SCALE_FACTOR=2 for a scaled screen)
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <ctime>

#include "app/frmMain.h"
#include "view/TilePictures.h"

int main(int argc, char* argv[])
{
    // Wall time, and the processor time of this process, which the other
    // work on a shared machine does not inflate.
    QElapsedTimer clock;
    clock.start();
    auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    double cpu = cpuMs();
    auto lap = [&](const char* what) {
        const double now = cpuMs();
        std::printf("%-40s %7.2f ms wall %7.2f ms cpu\n", what, static_cast<double>(clock.nsecsElapsed()) / 1e6,
                    now - cpu);
        clock.restart();
        cpu = now;
    };
    QApplication app(argc, argv);
    lap("application object");
    // At the screen's device pixel ratio, as the window makes them.
    const double ratio = app.devicePixelRatio();
    {
        plitar::TilePictures pictures;
        pictures.setDevicePixelRatio(ratio);
        (void)pictures.picture(plitar::TileLook::Normal, 56, 1);
        (void)pictures.picture(plitar::TileLook::Grey, 56, 1);
        lap("tile pictures of 56, the looks shown first");
        pictures.prepare(56);
        lap("tile pictures of 56, the selected look");
    }
    {
        plitar::TilePictures pictures;
        pictures.setDevicePixelRatio(ratio);
        pictures.prepare(56);
        lap("tile pictures of size 56 again");
    }
    (void)plitar::plitarIcon();
    lap("window icon made");
    plitar::frmMain w;
    lap("window made, first game dealt");
    w.show();
    (void)QTest::qWaitForWindowExposed(&w);
    lap("shown and exposed");
    // The window gives itself the icon and the selected look a moment after
    // its first frame; the wall time includes that moment.
    (void)QTest::qWaitFor([&] { return !w.windowIcon().isNull(); });
    lap("then the icon and the selected look (wall: after the wait)");
    w.setWindowIcon(QIcon());
    w.setWindowIcon(plitar::plitarIcon());
    lap("the icon handed to the window again");
    w.repaint();
    lap("one more full repaint");
    return 0;
}
