// Плитар: starts the one window; start-up itself happens while it is made.
#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char* argv[])
{
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
    plitar::frmMain window;
    window.show();
    return QApplication::exec();
}
