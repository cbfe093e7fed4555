// Play with the keys: Space and Enter on the focused tile do what a click on
// it does, in every situation of the click rules; Tab and the arrows move the
// focus; the focus goes on after its tile leaves; the ring shows only after a
// board key and goes at the next mouse press, and with the mouse alone the
// board's pixels are those the sprites make. The suite runs again on a screen
// scaled to 200 % (see CMakeLists.txt).
#include <QPainter>

#include "AppFixture.h"
#include "view/BoardFocus.h"

namespace plitar::test {
namespace {

// A row of four on layer 1, the two ends free and matching, the two inside
// blocked and matching; two flowers apart below it.
//   P5 Q9 R9 S5      (row 1)
//   T35    U38       (row 5)
const std::vector<Tile> kRow = {
    {1, 1, 1, 5}, {3, 1, 1, 9}, {5, 1, 1, 9}, {7, 1, 1, 5}, {1, 5, 1, 35}, {5, 5, 1, 38},
};
enum { P, Q, R, S, T, U };
// A pair on its own and two tiles stacked, which no shuffle can ever open.
const std::vector<Tile> kStuck = {{1, 1, 1, 5}, {5, 1, 1, 5}, {10, 10, 1, 20}, {10, 10, 2, 22}};

QImage plainBoard(BoardView& b)
{
    const qreal ratio = b.devicePixelRatioF();
    QImage img(QSize(qRound(b.width() * ratio), qRound(b.height() * ratio)), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    QPainter p(&img);
    b.paintBoard(p, b.rect());
    return img;
}

QImage shownBoard(BoardView& b) { return b.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The device pixels where two pictures of the board differ.
QRect difference(const QImage& a, const QImage& b)
{
    QRect r;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

struct Situation {
    const char* what;
    const std::vector<Tile>* board;
    std::vector<int> presses;  // indices into the board
};

const Situation kSituations[] = {
    {"a free tile", &kRow, {P}},
    {"a blocked tile", &kRow, {Q}},
    {"a blocked tile with one selected", &kRow, {P, Q}},
    {"the selected tile again", &kRow, {P, P}},
    {"a matching pair", &kRow, {P, S}},
    {"two faces that do not match", &kRow, {P, T}},
    {"two flowers", &kRow, {T, U}},
    {"the last pair", &kRow, {P, S, T, U, Q, R}},
    {"a pair that leaves a stuck board, shuffled by itself", &kStuck, {0, 1}},
};

const Qt::Key kKeys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};

class KeyTable : public testing::TestWithParam<std::tuple<size_t, size_t>> {};

// The same presses with the mouse in one window and with a key in another
// made alike leave both alike: the game, the caption and every sprite.
TEST_P(KeyTable, AKeyDoesWhatAClickDoes)
{
    const Situation& s = kSituations[std::get<0>(GetParam())];
    const Qt::Key key = kKeys[std::get<1>(GetParam())];
    auto mouse = makeWindow(99), keys = makeWindow(99);
    for (frmMain* w : {mouse.get(), keys.get()}) {
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    const auto mouseTiles = layBoard(*mouse, *s.board);
    const auto keyTiles = layBoard(*keys, *s.board);
    for (int i : s.presses) {
        const int n = mouseTiles[static_cast<size_t>(i)];
        clickTile(*mouse, n);
        keys->board()->focus().moveTo(keyTiles[static_cast<size_t>(i)], true);
        QTest::keyClick(keys->board(), key);
    }
    QCoreApplication::processEvents();
    const modPlitar &a = mouse->game(), &b = keys->game();
    EXPECT_EQ(caption(*keys), caption(*mouse)) << s.what;
    EXPECT_EQ(b.nSel1, a.nSel1) << s.what;
    forEachPlayableCell([&](int cell, int, int, int) {
        EXPECT_EQ(b.aMap.atIndex(cell), a.aMap.atIndex(cell)) << s.what;
        EXPECT_EQ(b.aIndex.atIndex(cell), a.aIndex.atIndex(cell)) << s.what;
    });
    for (int n = 1; n <= kMaxTiles; ++n) {
        ASSERT_EQ(keys->board()->spriteExists(n), mouse->board()->spriteExists(n)) << s.what << ", sprite " << n;
        if (mouse->board()->spriteExists(n)) {
            EXPECT_EQ(*keys->board()->spritePicture(n), *mouse->board()->spritePicture(n)) << s.what << ", sprite " << n;
        }
    }
    expectViewMatchesGame(*keys);
}

INSTANTIATE_TEST_SUITE_P(Situations, KeyTable,
                         testing::Combine(testing::Range<size_t>(0, std::size(kSituations)),
                                          testing::Range<size_t>(0, std::size(kKeys))));

class BoardKeys : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        tiles = layBoard(w(), kRow);
        QCoreApplication::processEvents();
    }
    int focused() { return board().focus().tile(); }
    std::vector<int16_t> tiles;
};

TEST_F(BoardKeys, TabStepsOverTheFreeTilesAndTheArrowsOverTheBoard)
{
    board().focus().moveTo(tiles[P], false);
    QTest::keyClick(&board(), Qt::Key_Tab);
    EXPECT_EQ(focused(), tiles[S]);
    QTest::keyClick(&board(), Qt::Key_Tab);
    EXPECT_EQ(focused(), tiles[T]);
    QTest::keyClick(&board(), Qt::Key_Tab);
    EXPECT_EQ(focused(), tiles[U]);
    QTest::keyClick(&board(), Qt::Key_Tab);
    EXPECT_EQ(focused(), tiles[P]) << "round the end";
    QTest::keyClick(&board(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), tiles[U]);
    QTest::keyClick(&board(), Qt::Key_Up);
    EXPECT_EQ(focused(), tiles[R]);
    QTest::keyClick(&board(), Qt::Key_Left);
    EXPECT_EQ(focused(), tiles[Q]) << "the arrows step on blocked tiles too";
    QTest::keyClick(&board(), Qt::Key_Up);
    EXPECT_EQ(focused(), tiles[Q]) << "nothing above: the focus stays";
    EXPECT_TRUE(board().focus().ringShown());
    // Keys held with Ctrl are not the board's.
    QTest::keyClick(&board(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(focused(), tiles[Q]);
}

TEST_F(BoardKeys, TheFocusGoesToTheNearestTileLeft)
{
    board().focus().moveTo(tiles[P], true);
    QTest::keyClick(&board(), Qt::Key_Space);
    board().focus().moveTo(tiles[S], true);
    QTest::keyClick(&board(), Qt::Key_Space);
    ASSERT_FALSE(board().spriteExists(tiles[S]));
    QCoreApplication::processEvents();  // found once the removal has ended
    EXPECT_EQ(board().focus().lastTile(), tiles[R]);
    EXPECT_TRUE(board().focus().ringShown());
    // The same with the mouse, the ring hidden: found when next needed.
    layBoard(w(), kRow);
    board().focus().moveTo(tiles[S], false);
    clickTile(w(), tiles[S]);
    clickTile(w(), tiles[P]);
    EXPECT_EQ(focused(), tiles[R]);
    EXPECT_FALSE(board().focus().ringShown());
    // A new deal: the tile nearest to where the focus was.
    start(1);
    EXPECT_NE(focused(), 0);
}

TEST_F(BoardKeys, TheRingShowsAfterABoardKeyAndGoesAtTheNextPress)
{
    const QImage plain = plainBoard(board());
    EXPECT_EQ(shownBoard(board()), plain);
    // Before any board key, Space and Enter do nothing.
    const std::string title = caption(w());
    QTest::keyClick(&board(), Qt::Key_Space);
    QTest::keyClick(&board(), Qt::Key_Return);
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(caption(w()), title);
    EXPECT_EQ(shownBoard(board()), plain);

    board().focus().moveTo(tiles[P], false);
    EXPECT_EQ(shownBoard(board()), plain) << "a focus without its ring draws nothing";
    QTest::keyClick(&board(), Qt::Key_Right);
    ASSERT_EQ(focused(), tiles[Q]);
    const QRect ring = difference(shownBoard(board()), plain);
    ASSERT_FALSE(ring.isEmpty()) << "no ring";
    const qreal ratio = board().devicePixelRatioF();
    const QRect tile = board().spriteRect(tiles[Q]);
    const QRect device(QPoint(qRound(tile.left() * ratio), qRound(tile.top() * ratio)),
                       QSize(qRound(tile.width() * ratio), qRound(tile.height() * ratio)));
    EXPECT_TRUE(device.adjusted(-1, -1, 1, 1).contains(ring)) << "the ring lies on the focused tile";

    // A press on the board, here on the blocked tile itself, hides it.
    clickTile(w(), tiles[Q]);
    EXPECT_FALSE(board().focus().ringShown());
    EXPECT_EQ(shownBoard(board()), plainBoard(board()));
    QTest::keyClick(&board(), Qt::Key_Space);
    EXPECT_EQ(caption(w()), title) << "Space after the press does nothing";
}

// With the mouse alone the board shows exactly what its sprites make,
// through selections, a removal and a press on the background.
TEST_F(BoardKeys, TheMouseAloneLeavesThePixelsAsTheSpritesMakeThem)
{
    start(1);
    const auto [a, b] = openPair(g());
    ASSERT_NE(a, 0);
    for (int n : {int(a), int(b)}) {
        clickTile(w(), n);
        EXPECT_EQ(shownBoard(board()), plainBoard(board()));
    }
    clickTile(w(), openPair(g()).first);
    QTest::mouseClick(&board(), Qt::LeftButton, Qt::NoModifier, QPoint(board().width() - 2, board().height() - 2));
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(shownBoard(board()), plainBoard(board()));
    EXPECT_FALSE(board().focus().ringShown());
}

}  // namespace
}  // namespace plitar::test

namespace plitar::test {
namespace {

// After a new layout, wherever the focus was on the one before, the arrows
// move it over the new board.
TEST(BoardKeysAfterANewLayout, TheArrowsMoveTheFocusOnTheNewBoard)
{
    for (int before : {1, 2, 4}) {
        SCOPED_TRACE("layout before: " + std::to_string(before));
        auto w = makeWindow(777);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->layoutItem(before)->trigger();
        QTest::keyClick(w->board(), Qt::Key_Tab);
        QTest::keyClick(w->board(), Qt::Key_Right);
        w->layoutItem(14)->trigger();  // "Мяч", 48 tiles in one layer
        QCoreApplication::processEvents();
        const int at = w->board()->focus().tile();
        ASSERT_TRUE(w->board()->spriteExists(at)) << "focus on tile " << at;
        QTest::keyClick(w->board(), Qt::Key_Right);
        QTest::keyClick(w->board(), Qt::Key_Left);
        const int right = w->board()->focus().tile();
        QTest::keyClick(w->board(), Qt::Key_Left);
        EXPECT_TRUE(right != at || w->board()->focus().tile() != at) << "the arrows left the focus on " << at;
    }
}

}  // namespace
}  // namespace plitar::test
