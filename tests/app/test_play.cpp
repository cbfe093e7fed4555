// Play with the mouse: what a click does on a blocked, a selected, a matching
// and a non-matching tile and on the background; a whole game to victory;
// how often the shuffles shuffle.
#include <QAction>

#include "AppFixture.h"
#include "LiteralRules.h"
#include "maps/modMaps.h"

namespace plitar::test {
namespace {

class PlayTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start(1);  // "Черепаха": blocked tiles and open pairs from the start
        ASSERT_NE(openPair(g()).first, 0);
    }
    int face(int n)
    {
        int x, y, z;
        return cellOf(g(), n, x, y, z) ? g().aMap(x, y, z) : 0;
    }
    const QImage* look(int n, TileLook l) { return &w().pictures().picture(l, g().nSize, face(n)); }
    int16_t firstBlocked()
    {
        for (int16_t n : tilesOnBoard(g()))
            if (literal::enSel(g(), n) == 0)
                return n;
        return 0;
    }
    // Two free tiles whose faces do not match.
    std::pair<int16_t, int16_t> freeMismatch()
    {
        std::vector<int16_t> free;
        for (int16_t n : tilesOnBoard(g()))
            if (literal::enSel(g(), n) == 1)
                free.push_back(n);
        for (int16_t a : free)
            for (int16_t b : free)
                if (!facesMatch(face(a), face(b)))
                    return {a, b};
        return {0, 0};
    }
    // The pictures of all sprites, to see that nothing changed.
    std::vector<const QImage*> pictures()
    {
        std::vector<const QImage*> out;
        for (int n = 1; n <= kMaxTiles; ++n)
            out.push_back(board().spritePicture(n));
        return out;
    }
};

TEST_F(PlayTest, BlockedTileTakesNoClick)
{
    const int16_t blocked = firstBlocked();
    ASSERT_NE(blocked, 0);
    const auto [a, b] = openPair(g());
    for (int16_t selected : {int16_t{0}, a}) {
        if (selected)
            clickTile(w(), selected);
        const auto before = pictures();
        const auto title = caption(w());
        clickTile(w(), blocked);
        EXPECT_EQ(g().nSel1, selected);
        EXPECT_EQ(pictures(), before);
        EXPECT_EQ(caption(w()), title);
    }
    (void)b;
}

TEST_F(PlayTest, SelectUnselectAndMoveTheSelection)
{
    const auto [a, b] = freeMismatch();
    ASSERT_NE(a, 0);
    clickTile(w(), a);
    EXPECT_EQ(g().nSel1, a);
    EXPECT_EQ(board().spritePicture(a), look(a, TileLook::Selected));
    clickTile(w(), a);  // the selected tile again
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(board().spritePicture(a), look(a, TileLook::Normal));

    clickTile(w(), a);
    clickTile(w(), b);  // no match: the selection moves
    EXPECT_EQ(g().nSel1, b);
    EXPECT_EQ(g().nSel2, 0);
    EXPECT_EQ(board().spritePicture(a), look(a, TileLook::Normal));
    EXPECT_EQ(board().spritePicture(b), look(b, TileLook::Selected));
    EXPECT_TRUE(board().spriteExists(a));

    const QPoint empty(905, 565);  // a corner no layout reaches at size 56
    ASSERT_EQ(board().spriteAt(empty), 0);
    QTest::mouseClick(&board(), Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(board().spritePicture(b), look(b, TileLook::Normal));
    const auto before = pictures();
    QTest::mouseClick(&board(), Qt::LeftButton, Qt::NoModifier, empty);  // nothing selected: nothing
    EXPECT_EQ(pictures(), before);
}

// Each press counts once: a double-click on a free tile selects and unselects it.
TEST_F(PlayTest, DoubleClickLeavesATileUnselected)
{
    const int16_t a = openPair(g()).first;
    doubleClickTile(w(), a);
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(board().spritePicture(a), look(a, TileLook::Normal));
}

TEST_F(PlayTest, MatchingPairLeavesTheBoard)
{
    const auto [a, b] = openPair(g());
    const int total = g().nTotal;
    clickTile(w(), a);
    clickTile(w(), b);
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(g().nSel2, 0);
    for (int16_t n : {a, b}) {
        EXPECT_FALSE(board().spriteExists(n));
        EXPECT_EQ(g().aLoaded[static_cast<size_t>(n)], 0);
    }
    EXPECT_EQ(g().funTilesLeft(), total - 2);
    const std::string status = "Плитар " + std::to_string(literal::pairs(g())) + " / " +
                               std::to_string(total - 2) + " / " + std::to_string(total);
    EXPECT_EQ(caption(w()).substr(0, status.size()), status);
}

// A whole game on the smallest layout, clicked pair by pair, shuffling with F1
// when no pair is open (dealing anew when even that cannot help), until the
// caption tells of the victory.
TEST_F(PlayTest, WholeGameToVictory)
{
    int smallest = 1;
    for (const LayoutRecord& rec : layoutCatalog())
        if (rec.tiles < layoutByNumber(smallest).tiles)
            smallest = rec.number;
    w().item("mnuAutoSort")->trigger();  // off: the test shuffles by hand
    start(smallest);
    const int total = g().nTotal;
    for (int moves = 0; g().funTilesLeft() > 0 && moves < 400; ++moves) {
        const auto [a, b] = openPair(g());
        if (a == 0) {
            QTest::keyClick(&w(), Qt::Key_F1);
            if (caption(w()).ends_with(" Не перемешивается"))
                QTest::keyClick(&w(), Qt::Key_F2);  // a position no shuffle opens: deal anew
            continue;
        }
        clickTile(w(), a);
        expectViewMatchesGame(w());
        clickTile(w(), b);
        expectViewMatchesGame(w());
    }
    EXPECT_EQ(g().funTilesLeft(), 0);
    EXPECT_TRUE(board().stack().empty());
    EXPECT_EQ(caption(w()), "Плитар 0 / 0 / " + std::to_string(total) + " Победа!");

    // After victory: a shuffle does nothing; the sizes and the grey option only move marks.
    QTest::keyClick(&w(), Qt::Key_F1);
    EXPECT_EQ(caption(w()), "Плитар 0 / 0 / " + std::to_string(total) + " Победа!");
    w().item("mnuSize70")->trigger();
    w().item("mnuGray")->trigger();
    EXPECT_EQ(g().nSizeOld, 70);
    QTest::keyClick(&w(), Qt::Key_F2);
    EXPECT_EQ(g().funTilesLeft(), total);
}

TEST_F(PlayTest, ShuffleCommand)
{
    const auto tilesBefore = tilesOnBoard(g());
    clickTile(w(), openPair(g()).first);
    QTest::keyClick(&w(), Qt::Key_F1);  // shuffles even with open pairs
    EXPECT_EQ(g().nSel1, 0);
    EXPECT_EQ(tilesOnBoard(g()), tilesBefore);
    EXPECT_TRUE(caption(w()).ends_with(" Перемешано")) << caption(w());
    expectViewMatchesGame(w());
}

// Counts the draws of the random source; a shuffle of t tiles draws t times.
class CountingWindow : public frmMain {
public:
    using frmMain::frmMain;
    float rnd() override
    {
        ++draws;
        return frmMain::rnd();
    }
    int draws = 0;
};

// How often "Перемешать" and the automatic shuffle shuffle, and what the
// caption then says: on a board that no shuffle can open (only the top tile of
// a stack is free), on a board with an open pair, and on an empty board.
TEST(Shuffles, CountAndNotice)
{
    const std::vector<Tile> stuck{{5, 5, 1, 3}, {5, 5, 2, 3}, {5, 5, 3, 7}, {5, 5, 4, 7}};
    const std::vector<Tile> open{{5, 5, 1, 3}, {9, 5, 1, 3}};
    const std::vector<Tile> empty{};
    enum class Action { Sort, AutoSortOn };
    struct Case {
        const char* what;
        const std::vector<Tile>* board;
        Action action;
        int shuffles;
        std::string notice;  // what the caption gains
    };
    const Case cases[] = {
        {"\"Перемешать\", no shuffle opens a pair", &stuck, Action::Sort, 101, " Не перемешивается"},
        {"\"Перемешать\", a pair is open", &open, Action::Sort, 1, " Перемешано"},
        {"\"Перемешать\", the board is empty", &empty, Action::Sort, 0, ""},
        {"the option switched on, no shuffle opens a pair", &stuck, Action::AutoSortOn, 100, " Не перемешивается"},
        {"the option switched on, a pair is open", &open, Action::AutoSortOn, 0, ""},
        {"the option switched on, the board is empty", &empty, Action::AutoSortOn, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMainOptions o;
        o.seed = 99;
        CountingWindow w(o);
        QAction* autoSort = w.item("mnuAutoSort");
        if (c.action == Action::AutoSortOn)
            autoSort->trigger();  // off
        layBoard(w, *c.board);
        const std::string before = caption(w);
        w.draws = 0;
        if (c.action == Action::Sort)
            w.item("mnuSort")->trigger();
        else
            autoSort->trigger();  // on
        EXPECT_TRUE(autoSort->isChecked());
        EXPECT_EQ(w.draws, c.shuffles * static_cast<int>(c.board->size()));
        EXPECT_EQ(caption(w), before + c.notice);
        expectViewMatchesGame(w);
    }
}

// Pairs on a small board: any two flowers match, a flower and a season do
// not; a double-click whose first press completes a pair counts as one click
// on the tile that lay beneath.
TEST_F(WindowTest, PairsOnAHandMadeBoard)
{
    // 0: flower 35, 1: flower 38, 2: season 39, 3: circle 5 under 4: circle 9,
    // 5: circle 9 alone.
    const std::vector<Tile> tiles{{1, 1, 1, 35}, {5, 1, 1, 38}, {9, 1, 1, 39},
                                  {13, 1, 1, 5}, {13, 1, 2, 9}, {17, 1, 1, 9}};
    struct Case {
        const char* what;
        int first, second;
        bool doubleClick;           // the second tile is double-clicked
        std::vector<int> removed;   // indices into tiles
        int selected;               // index, -1 none
    };
    const Case cases[] = {
        {"flower 35, then flower 38", 0, 1, false, {0, 1}, -1},
        {"flower 38, then season 39", 1, 2, false, {}, 2},
        {"a double-click that completes a pair", 5, 4, true, {4, 5}, 3},
    };
    w().item("mnuAutoSort")->trigger();  // off: nothing shuffles behind the test's back
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<int16_t> n = layBoard(w(), tiles);
        clickTile(w(), n[static_cast<size_t>(c.first)]);
        if (c.doubleClick)
            doubleClickTile(w(), n[static_cast<size_t>(c.second)]);
        else
            clickTile(w(), n[static_cast<size_t>(c.second)]);
        for (size_t i = 0; i < tiles.size(); ++i) {
            const bool gone = std::find(c.removed.begin(), c.removed.end(), static_cast<int>(i)) != c.removed.end();
            EXPECT_EQ(board().spriteExists(n[i]), !gone) << "tile " << i;
        }
        EXPECT_EQ(g().nSel1, c.selected < 0 ? 0 : n[static_cast<size_t>(c.selected)]);
        EXPECT_EQ(g().funTilesLeft(), static_cast<int>(tiles.size() - c.removed.size()));
        expectViewMatchesGame(w());
    }
}

}  // namespace
}  // namespace plitar::test
