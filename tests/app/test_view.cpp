// The board view: cell positions, sprites on their cells in every size, the
// stacking, where a press lands, and which tiles show grey.
#include <QAction>

#include "AppFixture.h"
#include "LiteralRules.h"
#include "view/Geometry.h"
#include "view/TileFrame.h"

namespace plitar::test {
namespace {

struct CellCase {
    int size, x, y, z, left, top;
};

TEST(Geometry, WorkedPositions)
{
    const CellCase cases[] = {
        {70, 1, 1, 1, 7, 18},    {70, 3, 1, 1, 79, 18},  {70, 1, 3, 1, 7, 100},
        {70, 1, 1, 2, 13, 12},   {70, 1, 1, 10, 61, -36}, {70, 50, 30, 10, 1825, 1153},
        {70, 1, 1, 9, 55, -30},  {63, 1, 1, 10, 61, -37}, {56, 1, 1, 10, 51, -30},
        {49, 1, 1, 10, 51, -26}, {56, 1, 1, 1, 6, 15},    {49, 3, 3, 1, 58, 77},
        {63, 3, 3, 2, 79, 85},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " (" << c.x << "," << c.y << "," << c.z << ")");
        const SizeGeometry* g = geometryOf(c.size);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(cellLeft(*g, c.x, c.y, c.z), c.left);
        EXPECT_EQ(cellTop(*g, c.x, c.y, c.z), c.top);
    }
    EXPECT_EQ(geometryOf(50), nullptr);
}

using ViewTest = WindowTest;

// Every sprite stands on the pixel of its cell and shows a picture of its
// tile's size, in every size; 70 -> 49 -> 70 puts each one back exactly.
TEST_F(ViewTest, SpritesSitOnTheirCellsInEverySize)
{
    start(1);
    auto check = [&](int size) {
        ASSERT_EQ(g().nSize, size);
        expectViewMatchesGame(w());
        for (int16_t n : tilesOnBoard(g()))
            EXPECT_EQ(board().spriteRect(n).size(), QSize(geometryOf(size)->width, geometryOf(size)->height));
    };
    check(56);
    std::map<int, QPoint> at70;
    w().item("mnuSize70")->trigger();
    check(70);
    for (int16_t n : tilesOnBoard(g()))
        at70[n] = board().spritePos(n);
    w().item("mnuSize49")->trigger();
    check(49);
    w().item("mnuSize63")->trigger();
    check(63);
    w().item("mnuSize70")->trigger();
    for (int16_t n : tilesOnBoard(g()))
        EXPECT_EQ(board().spritePos(n), at70[n]) << n;
}

// Sprite n shows tile n; the smaller number lies on top, and a press where two
// sprites overlap reaches the upper one.
TEST_F(ViewTest, StackingAndPressOnOverlap)
{
    start(1);
    const auto tiles = tilesOnBoard(g());
    ASSERT_EQ(static_cast<int>(tiles.size()), g().nTotal);
    std::vector<int16_t> top(tiles.begin(), tiles.end());
    EXPECT_EQ(board().stack(), top);  // 1 on top, nTotal at the bottom

    int tested = 0;
    for (int16_t a : tiles) {
        if (literal::enSel(g(), a) != 1)
            continue;
        for (int16_t b : tiles) {
            const QRect both = board().spriteRect(a) & board().spriteRect(b);
            if (b <= a || both.isEmpty())
                continue;
            const QPoint p = both.center();
            if (board().spriteAt(p) != a)
                continue;  // a third sprite lies over the spot
            QTest::mouseClick(&board(), Qt::LeftButton, Qt::NoModifier, p);
            EXPECT_EQ(g().nSel1, a);
            QTest::mouseClick(&board(), Qt::LeftButton, Qt::NoModifier, p);  // unselect
            ++tested;
            break;
        }
    }
    EXPECT_GT(tested, 0);

    // The screen shows at every pixel the sprite that a press there reaches.
    const QImage shot = board().grab().toImage();
    int wrong = 0;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) {
            const int n = board().spriteAt(QPoint(x, y));
            const QRgb want = n ? board().spritePicture(n)->pixel(QPoint(x, y) - board().spritePos(n))
                                : kBoardColour;
            wrong += shot.pixel(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

// With the grey option on exactly the blocked tiles are grey; off, none is.
// A removal turns the tiles it frees normal.
TEST_F(ViewTest, GreyShowsExactlyTheBlockedTiles)
{
    auto expectLooks = [&](bool greyOn) -> int {
        int grey = 0;
        for (int16_t n : tilesOnBoard(g())) {
            int x, y, z;
            if (!cellOf(g(), n, x, y, z)) {
                ADD_FAILURE() << "tile " << n << " has no cell";
                continue;
            }
            const bool blocked = literal::enSel(g(), n) != 1;
            const TileLook look = greyOn && blocked ? TileLook::Grey : TileLook::Normal;
            EXPECT_EQ(board().spritePicture(n), &w().pictures().picture(look, g().nSize, g().aMap(x, y, z)))
                << "tile " << n;
            grey += look == TileLook::Grey;
        }
        return grey;
    };
    start(2);
    EXPECT_GT(expectLooks(true), 0);
    w().item("mnuGray")->trigger();
    EXPECT_EQ(expectLooks(false), 0);
    w().item("mnuGray")->trigger();
    expectLooks(true);
    for (int i = 0; i < 5; ++i) {
        const auto [a, b] = openPair(g());
        if (a == 0)
            break;
        clickTile(w(), a);
        clickTile(w(), b);
        expectLooks(true);
    }
}

TEST_F(ViewTest, ResizingTheWindowMovesNoTile)
{
    EXPECT_EQ(board().size(), QSize(911, 571));
    std::map<int, QPoint> before;
    for (int16_t n : tilesOnBoard(g()))
        before[n] = board().mapTo(&w(), board().spritePos(n));
    for (QSize s : {QSize(400, 300), QSize(1300, 900)}) {
        w().resize(s);
        QTest::qWait(1);
        for (int16_t n : tilesOnBoard(g()))
            EXPECT_EQ(board().mapTo(&w(), board().spritePos(n)), before[n]);
    }
}

}  // namespace
}  // namespace plitar::test
