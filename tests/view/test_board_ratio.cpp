// The board on a screen scaled to 150 % (device pixel ratio 1.5, set before
// the application starts): every picture is copied pixel for pixel to the
// device pixels of its sprite, also where the board sits at a fractional
// device offset in its window, and a press reaches the sprite whose picture
// is under the pointer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

#include "ScaledBoard.h"
#include "view/BoardView.h"
#include "view/TileFrame.h"
#include "view/TilePictures.h"

using namespace plitar;

namespace {

constexpr double kRatio = 1.5;

// A window with the board 21 logical pixels below its top, as below a menu
// bar (31.5 device pixels), and on it two overlapping tiles of size 70 as a
// layer shift places them: tile 1 on layer 2 above tile 2 on layer 1.
class BoardAtRatio : public fixture::ScaledBoard {
protected:
    void SetUp() override
    {
        makeBoard(300, 240, 21);
        place(1, {13, 12}, 70, 5);
        place(2, {7, 18}, 70, 23);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The window as it stands in its backing store, in device pixels.
    QImage shown() const
    {
        window->repaint();
        QPaintDevice* store = window->backingStore() ? window->backingStore()->paintDevice() : nullptr;
        if (!store || store->devType() != QInternal::Image)
            return {};
        QImage pixels = static_cast<QImage*>(store)->convertToFormat(QImage::Format_RGB32);
        pixels.setDevicePixelRatio(1);
        return pixels;
    }

    // The sprite a press at the centre of device pixel (x, y) of the window goes to.
    int pressAt(int x, int y) { return ScaledBoard::pressAt(boardPoint(x + 0.5, y + 0.5)); }
};

TEST_F(BoardAtRatio, PicturesAreMadeForTheScreen)
{
    EXPECT_EQ(pictures.devicePixelRatio(), kRatio);
    EXPECT_EQ(board->spritePicture(1)->size(), QSize(105, 120));
    EXPECT_EQ(board->spriteRect(1), QRect(13, 12, 70, 80)) << "sizes and places stay logical";
}

// Every device pixel of the board shows the board colour or the pixel of the
// topmost picture whose device pixels hold it, copied unscaled.
TEST_F(BoardAtRatio, EveryPictureLandsPixelForPixel)
{
    const QImage shot = shown();
    ASSERT_EQ(shot.size(), QSize(450, 360));
    const QRect upper = deviceRect(1), lower = deviceRect(2);
    EXPECT_EQ(upper.topLeft(), QPoint(20, 50));  // 13 * 1.5 = 19.5 and (12 + 21) * 1.5 = 49.5, rounded up
    EXPECT_EQ(lower.topLeft(), QPoint(11, 59));
    for (int y = 32; y < 300; ++y)
        for (int x = 0; x < 200; ++x) {
            QRgb want = kBoardColour;
            if (upper.contains(x, y))
                want = board->spritePicture(1)->pixel(x - upper.left(), y - upper.top());
            else if (lower.contains(x, y))
                want = board->spritePicture(2)->pixel(x - lower.left(), y - lower.top());
            ASSERT_EQ(shot.pixel(x, y), want) << "device pixel " << x << "," << y;
        }
}

// Along a row through both tiles and down a column through both, each
// press goes to the sprite whose picture shows at that device pixel: the
// upper tile from its first device pixel on, the lower one just before it.
TEST_F(BoardAtRatio, PressReachesThePictureUnderThePointer)
{
    const QRect upper = deviceRect(1), lower = deviceRect(2);
    const int row = upper.top() + 40, column = upper.left() + 30;
    for (int x = lower.left() - 2; x < upper.left() + 4; ++x) {
        const int want = upper.contains(x, row) ? 1 : lower.contains(x, row) ? 2 : 0;
        EXPECT_EQ(pressAt(x, row), want) << "device column " << x;
    }
    EXPECT_EQ(pressAt(upper.left() - 1, row), 2);
    EXPECT_EQ(pressAt(upper.left(), row), 1);
    for (int y = upper.bottom() - 3; y < lower.bottom() + 3; ++y) {
        const int want = upper.contains(column, y) ? 1 : lower.contains(column, y) ? 2 : 0;
        EXPECT_EQ(pressAt(column, y), want) << "device row " << y;
    }
    EXPECT_EQ(pressAt(column, upper.bottom()), 1);
    EXPECT_EQ(pressAt(column, upper.bottom() + 1), 2);
}

// A store left at another ratio (as when the window has just moved to a
// screen with another one) is brought to the screen's ratio by the next
// paint, and every sprite shows the same look and face made for it.
TEST_F(BoardAtRatio, FollowsTheScreensRatio)
{
    pictures.setDevicePixelRatio(1);
    board->setSpritePicture(1, &pictures.picture(TileLook::Selected, 70, 5));
    board->setSpritePicture(2, &pictures.picture(TileLook::Grey, 70, 23));
    EXPECT_EQ(board->spritePicture(1)->size(), QSize(70, 80));
    (void)shown();
    EXPECT_EQ(pictures.devicePixelRatio(), kRatio);
    EXPECT_EQ(board->spritePicture(1), &pictures.picture(TileLook::Selected, 70, 5));
    EXPECT_EQ(board->spritePicture(2), &pictures.picture(TileLook::Grey, 70, 23));
    EXPECT_EQ(board->spritePicture(2)->size(), QSize(105, 120));
}

// Qt 6.4 tells the widgets of a window that moved to another screen with a
// ScreenChangeInternal event; the board answers it at once, before any paint.
TEST_F(BoardAtRatio, AScreenChangeBringsThePicturesOfTheNewRatio)
{
    pictures.setDevicePixelRatio(3);
    board->setSpritePicture(1, &pictures.picture(TileLook::Normal, 70, 5));
    ASSERT_EQ(board->spritePicture(1)->size(), QSize(210, 240));
    QEvent moved(QEvent::ScreenChangeInternal);
    QApplication::sendEvent(board, &moved);
    EXPECT_EQ(pictures.devicePixelRatio(), kRatio);
    EXPECT_EQ(board->spritePicture(1), &pictures.picture(TileLook::Normal, 70, 5));
    EXPECT_EQ(board->spritePicture(1)->size(), QSize(105, 120));
}

}  // namespace

int main(int argc, char** argv) { return fixture::scaledBoardMain(argc, argv, kRatio); }
