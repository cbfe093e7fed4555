// A press on a scaled screen goes to the tile whose picture covers the device
// pixel under the pointer, right up to the outermost pixels of each picture.
// The X platform reports a pointer at device pixel (x, y) as the logical point
// (x / p, y / p), which lies between whole logical pixels; the ratio p comes
// from the argument --scale=p (CTest runs this at 1.25, 1.5 and 2).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "view/BoardView.h"
#include "view/TilePictures.h"

using namespace plitar;

namespace {

double gRatio = 1.5;

constexpr int kMenuBar = 20;  // the board's offset in its window, as below a menu bar

// Four tiles of size 56 placed as a layout places them, one logical pixel
// further right: two side by side and one below on layer 1, and one on layer 2
// across all three, half a tile over. Their odd logical corners fall between
// device pixels at 1.25 and 1.5.
class PressAtRatio : public testing::Test {
protected:
    void SetUp() override
    {
        ratio = gRatio;
        ASSERT_EQ(qApp->devicePixelRatio(), ratio);
        window = std::make_unique<QWidget>();
        window->resize(200, 190);
        board = new BoardView(window.get());
        board->setGeometry(0, kMenuBar, 200, 190 - kMenuBar);
        board->setPictureSource(&pictures);
        // Each new sprite goes beneath the ones before: the upper layer first.
        place(1, {41, 43}, 5);
        place(2, {7, 15}, 12);
        place(3, {65, 15}, 23);
        place(4, {7, 81}, 31);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void place(int n, QPoint at, int face)
    {
        board->createSprite(n);
        board->setSpritePos(n, at);
        board->setSpritePicture(n, &pictures.picture(TileLook::Normal, 56, face));
        board->showSprite(n);
    }

    // The device pixels of sprite n in the window: its logical corner times
    // the ratio, halves rounded up, and as many pixels as its picture has.
    QRect deviceRect(int n) const
    {
        const QPoint at = board->spritePos(n) + QPoint(0, kMenuBar);
        const QImage* p = board->spritePicture(n);
        return {int(std::floor(at.x() * ratio + 0.5)), int(std::floor(at.y() * ratio + 0.5)), p->width(),
                p->height()};
    }

    // The tile whose picture shows at device pixel (x, y): the topmost one
    // holding it, 0 for the board.
    int shownAt(int x, int y) const
    {
        for (int n : {1, 2, 3, 4})
            if (deviceRect(n).contains(x, y))
                return n;
        return 0;
    }

    // What a press and release at device pixel (x, y) reach: a tile, 0 for
    // the board, -1 for nothing.
    int pressAt(int x, int y)
    {
        QSignalSpy clicked(board, &BoardView::spriteClicked);
        QSignalSpy background(board, &BoardView::backgroundClicked);
        const QPointF at(x / ratio, y / ratio - kMenuBar);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, board->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(board, &e);
        }
        if (clicked.count() == 1)
            return clicked.at(0).at(0).toInt();
        return background.count() == 1 ? 0 : -1;
    }

    double ratio = 1;
    TilePictures pictures;
    std::unique_ptr<QWidget> window;
    BoardView* board = nullptr;
};

// Every device pixel of each picture's outermost rows and columns, and of the
// ring just outside them, where the pictures overlap and where they meet the
// board.
TEST_F(PressAtRatio, EdgePixelsReachTheTileShownThere)
{
    ASSERT_EQ(board->spritePicture(1)->width(), int(std::lround(56 * ratio)));
    std::vector<QPoint> pixels;
    for (int n : {1, 2, 3, 4}) {
        const QRect r = deviceRect(n);
        for (const QRect& ring : {r, r.adjusted(-1, -1, 1, 1)}) {
            for (int x = ring.left(); x <= ring.right(); ++x)
                pixels.insert(pixels.end(), {{x, ring.top()}, {x, ring.bottom()}});
            for (int y = ring.top() + 1; y < ring.bottom(); ++y)
                pixels.insert(pixels.end(), {{ring.left(), y}, {ring.right(), y}});
        }
    }
    int wrong = 0;
    for (const QPoint& p : pixels) {
        const int want = shownAt(p.x(), p.y());
        const int got = pressAt(p.x(), p.y());
        if (got != want && ++wrong <= 10)
            ADD_FAILURE() << "device pixel " << p.x() << "," << p.y() << ": pressed " << got << ", shown " << want;
    }
    EXPECT_EQ(wrong, 0) << "of " << pixels.size() << " presses at ratio " << ratio;
}

// A double-click lands on the same tile as the single press would.
TEST_F(PressAtRatio, DoubleClickAtTheEdgeReachesTheTileShownThere)
{
    const QRect r = deviceRect(1);
    for (const QPoint& p : {r.topLeft(), r.bottomRight(), QPoint(r.left() - 1, r.top() + 20)}) {
        QSignalSpy doubled(board, &BoardView::spriteDoubleClicked);
        const QPointF at(p.x() / ratio, p.y() / ratio - kMenuBar);
        QMouseEvent press(QEvent::MouseButtonDblClick, at, board->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(board, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, board->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(board, &release);
        ASSERT_EQ(doubled.count(), 1) << p.x() << "," << p.y();
        EXPECT_EQ(doubled.at(0).at(0).toInt(), shownAt(p.x(), p.y())) << p.x() << "," << p.y();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--scale=", 8) == 0)
            gRatio = std::atof(argv[i] + 8);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(gRatio));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
