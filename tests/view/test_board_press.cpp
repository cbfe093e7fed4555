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

#include "ScaledBoard.h"

using namespace plitar;

namespace {

constexpr int kMenuBar = 20;  // the board's offset in its window, as below a menu bar

// Four tiles of size 56 placed as a layout places them, one logical pixel
// further right: two side by side and one below on layer 1, and one on layer 2
// across all three, half a tile over. Their odd logical corners fall between
// device pixels at 1.25 and 1.5.
class PressAtRatio : public fixture::ScaledBoard {
protected:
    void SetUp() override
    {
        makeBoard(200, 190, kMenuBar);
        // Each new sprite goes beneath the ones before: the upper layer first.
        place(1, {41, 43}, 56, 5);
        place(2, {7, 15}, 56, 12);
        place(3, {65, 15}, 56, 23);
        place(4, {7, 81}, 56, 31);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
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

    // What a press at device pixel (x, y) reaches: the X platform reports it
    // as the logical point (x / p, y / p).
    int pressAt(int x, int y) { return ScaledBoard::pressAt(boardPoint(x, y)); }
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
        const QPointF at = boardPoint(p.x(), p.y());
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

int main(int argc, char** argv) { return fixture::scaledBoardMain(argc, argv, 1.5); }
