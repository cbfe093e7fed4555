// A board widget in a window on a screen scaled by the ratio the test program
// was started with, sprites placed on it, and what a press at a point reaches:
// the fixture of the tests that check pictures and presses device pixel by
// device pixel. scaledBoardMain starts the application at that ratio.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "view/BoardView.h"
#include "view/TilePictures.h"

namespace plitar::fixture {

// The ratio of the run: --scale=p on the command line, else the program's default.
inline double gScale = 1;

class ScaledBoard : public ::testing::Test {
protected:
    // A window of w x h logical pixels with the board `top` pixels below its
    // top edge, as below a menu bar.
    void makeBoard(int w, int h, int top)
    {
        ASSERT_EQ(qApp->devicePixelRatio(), ratio) << "the test runs with QT_SCALE_FACTOR=" << ratio;
        top_ = top;
        window = std::make_unique<QWidget>();
        window->resize(w, h);
        board = new BoardView(window.get());
        board->setGeometry(0, top, w, h - top);
        board->setPictureSource(&pictures);
    }

    // Sprite n with the normal picture of a face at a tile size; each new
    // sprite goes beneath those placed before.
    void place(int n, QPoint at, int size, int face)
    {
        board->createSprite(n);
        board->setSpritePos(n, at);
        board->setSpritePicture(n, &pictures.picture(TileLook::Normal, size, face));
        board->showSprite(n);
    }

    // The device pixels of sprite n in the window: its logical corner plus the
    // board's offset, times the ratio, halves rounded up; as many pixels as its
    // picture has.
    QRect deviceRect(int n) const
    {
        const QPoint at = board->spritePos(n) + QPoint(0, top_);
        const QImage* p = board->spritePicture(n);
        return {int(std::floor(at.x() * ratio + 0.5)), int(std::floor(at.y() * ratio + 0.5)), p->width(),
                p->height()};
    }

    // The logical point of the board where the window's device point (x, y) lies.
    QPointF boardPoint(double x, double y) const { return {x / ratio, y / ratio - top_}; }

    // What a press and release at a logical point of the board reach: a tile,
    // 0 for the board, -1 for nothing.
    int pressAt(QPointF at)
    {
        QSignalSpy clicked(board, &BoardView::spriteClicked);
        QSignalSpy background(board, &BoardView::backgroundClicked);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, board->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(board, &e);
        }
        if (clicked.count() == 1)
            return clicked.at(0).at(0).toInt();
        return background.count() == 1 ? 0 : -1;
    }

    double ratio = gScale;
    TilePictures pictures;
    std::unique_ptr<QWidget> window;
    BoardView* board = nullptr;

private:
    int top_ = 0;
};

// Reads --scale=p (else keeps `scale`), sets the screen's scale before the
// application exists, on the offscreen platform unless another is asked for.
inline int scaledBoardMain(int argc, char** argv, double scale)
{
    gScale = scale;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--scale=", 8) == 0)
            gScale = std::atof(argv[i] + 8);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(gScale));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace plitar::fixture
