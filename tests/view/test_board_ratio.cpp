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

#include "view/BoardView.h"
#include "view/TileFrame.h"
#include "view/TilePictures.h"

using namespace plitar;

namespace {

constexpr double kRatio = 1.5;

// A window with the board 21 logical pixels below its top, as below a menu
// bar (31.5 device pixels), and on it two overlapping tiles of size 70 as a
// layer shift places them: tile 1 on layer 2 above tile 2 on layer 1.
class BoardAtRatio : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(qApp->devicePixelRatio(), kRatio) << "the test runs with QT_SCALE_FACTOR=1.5";
        window = std::make_unique<QWidget>();
        window->resize(300, 240);
        board = new BoardView(window.get());
        board->setGeometry(0, 21, 300, 219);
        board->setPictureSource(&pictures);
        place(1, {13, 12}, 5);
        place(2, {7, 18}, 23);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void place(int n, QPoint at, int face)
    {
        board->createSprite(n);
        board->setSpritePos(n, at);
        board->setSpritePicture(n, &pictures.picture(TileLook::Normal, 70, face));
        board->showSprite(n);
    }

    // The device pixels of sprite n in the window: its logical corner plus the
    // board's offset, times the ratio, rounded; as many as its picture has.
    QRect deviceRect(int n) const
    {
        const QPoint at = board->spritePos(n) + QPoint(0, 21);
        const QImage* p = board->spritePicture(n);
        return {int(std::floor(at.x() * kRatio + 0.5)), int(std::floor(at.y() * kRatio + 0.5)), p->width(),
                p->height()};
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

    // The sprite a press at device pixel (x, y) of the window goes to.
    int pressAt(int x, int y)
    {
        QSignalSpy clicked(board, &BoardView::spriteClicked);
        QSignalSpy background(board, &BoardView::backgroundClicked);
        const QPointF at((x + 0.5) / kRatio, (y + 0.5) / kRatio - 21);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, board->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(board, &e);
        }
        if (clicked.count() == 1)
            return clicked.at(0).at(0).toInt();
        return background.count() == 1 ? 0 : -1;
    }

    TilePictures pictures;
    std::unique_ptr<QWidget> window;
    BoardView* board = nullptr;
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

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "1.5");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
