// The floor for start-up time and memory: the least a Qt Widgets program with
// a window, a menu bar and a coloured client area costs on this machine.
// Same window size and board colour as the game, so the watcher sees it the
// same way. With --quit it ends after its first frame, for counting its
// instructions under callgrind beside perf_phases.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <cstring>

#include "view/TileFrame.h"

namespace {
// The client area; with --quit the first paint ends the program.
class Board : public QWidget {
public:
    using QWidget::QWidget;
    bool quitAfterPaint = false;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QWidget::paintEvent(e);
        if (quitAfterPaint)
            QTimer::singleShot(0, qApp, &QApplication::quit);
    }
};
}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor"));
    QMenu* game = window.menuBar()->addMenu(QStringLiteral("Игра"));
    game->addAction(QStringLiteral("Перемешать"));
    QMenu* options = window.menuBar()->addMenu(QStringLiteral("Настройки"));
    options->addAction(QStringLiteral("Выделять открытые/закрытые"))->setCheckable(true);
    auto* board = new Board(&window);
    board->quitAfterPaint = argc > 1 && std::strcmp(argv[1], "--quit") == 0;
    QPalette pal = board->palette();
    pal.setColor(QPalette::Window, QColor(plitar::kBoardColour));
    board->setPalette(pal);
    board->setAutoFillBackground(true);
    window.setCentralWidget(board);
    window.resize(911, 571 + window.menuBar()->sizeHint().height());
    window.show();
    return QApplication::exec();
}
