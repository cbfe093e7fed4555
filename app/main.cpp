// Плитар: starts the one window; start-up itself happens while it is made.
#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("plitar"));
    // Lets the desktop match the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.plitar.Plitar"));
    plitar::frmMain window;
    window.show();
    return QApplication::exec();
}
