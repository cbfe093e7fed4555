// Плитар: settles the session bus, lets one copy run per user, and shows the
// one window; start-up itself happens while the window is made.
#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/LaunchTokens.h"
#include "app/SessionBus.h"
#include "app/SingleInstance.h"
#include "app/frmMain.h"

int main(int argc, char* argv[])
{
    // What the launcher gave this start, taken out of the environment before
    // Qt, whose X plugin would take the startup id for itself, and before
    // anything could pass it on to a child.
    const plitar::LaunchTokens launch = plitar::LaunchTokens::takeFromEnvironment();
    // Before Qt touches the bus: one that does not answer in time counts as
    // none, so that neither Qt nor the guard waits on it.
    const bool bus = plitar::settleSessionBus(std::chrono::milliseconds(500));
    // One copy per user, decided before any window exists: a second start
    // hands its request to the running copy and ends, first through the lock,
    // before it even connects to the display, then through the bus.
    auto alreadyRuns = [] {
        std::fputs("Плитар уже запущен\n", stderr);
        return 0;
    };
    auto instance = std::make_unique<plitar::SingleInstance>(plitar::SingleInstance::forThisUser(bus),
                                                             launch.platformData());
    if (!instance->first())
        return alreadyRuns();

    // The game takes no command line. Qt's own options (-style, -reverse,
    // -platform, ...) would still act on it, so the application object sees
    // the program's name alone; Qt's environment variables still apply.
    static char fallbackName[] = "plitar";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("plitar"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.plitar.Plitar"));

    if (!instance->start())
        return alreadyRuns();

    plitar::frmMain window;
    QObject::connect(instance.get(), &plitar::SingleInstance::comeForward, &window, &plitar::frmMain::comeForward);
    // Found only after this window was made: a copy without a private
    // directory had the bus name first, and has been asked to come forward.
    QObject::connect(instance.get(), &plitar::SingleInstance::anotherCopyRuns, &app, [&] {
        alreadyRuns();
        QCoreApplication::exit(0);
    });
    // Closing the window ends the program; nothing of it is handled after.
    QObject::connect(&window, &plitar::frmMain::unloaded, &app, [] { QCoreApplication::exit(0); });
    window.show();
    window.completeLaunch(launch);  // the launcher's own token and startup id, for this first window
    const int status = QApplication::exec();
    instance.reset();  // the bus name, socket and lock go while Qt still runs
    return status;
}
