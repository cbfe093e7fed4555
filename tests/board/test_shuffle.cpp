// The shuffle and the automatic shuffle when no open pair is left.
#include <algorithm>

#include "BoardFixture.h"

namespace plitar::testing {
namespace {

class ShuffleTest : public BoardTest {
protected:
    // A row of three and a loner; free are the ends of the row and the loner.
    // Faces 5 5 6 | 7 have no open pair; 5 6 5 | 7 have one.
    void rowOfThree()
    {
        put(4, 1, 1, 1, 5);
        put(3, 3, 1, 1, 5);
        put(2, 5, 1, 1, 6);
        put(1, 1, 5, 1, 7);
        g.nTotal = 4;
    }
};

// "Перемешать" shuffles once even with a pair open, then until one opens, 101
// times at most; the automatic shuffle only while none is open, 100 times at
// most, and never with the option off; neither does anything on an empty
// board. Two draws per shuffle of two tiles.
TEST_F(ShuffleTest, HowOftenEachShuffleShufflesAndWhatTheCaptionSays)
{
    enum class Board { Stuck, Open, Empty };
    struct Case {
        const char* what;
        bool command;  // "Перемешать", else the automatic shuffle
        bool option;   // "Перемешивать когда нет ходов"
        Board board;
        int answer;
        int shuffles;
        const char* caption;
    };
    const Case cases[] = {
        {"command, stuck", true, false, Board::Stuck, 101, 101, "Плитар 0 / 2 / 144 Не перемешивается"},
        {"command, a pair is open", true, false, Board::Open, 1, 1, "Плитар 2 / 2 / 144 Перемешано"},
        {"command, empty", true, true, Board::Empty, 0, 0, "unchanged"},
        {"automatic, stuck", false, true, Board::Stuck, 1, 100, "Плитар 0 / 2 / 144 Не перемешивается"},
        {"automatic, option off", false, false, Board::Stuck, 0, 0, "unchanged"},
        {"automatic, a pair is open", false, true, Board::Open, 0, 0, "unchanged"},
        {"automatic, empty", false, true, Board::Empty, 0, 0, "unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost h;
        h.autoSort = c.option;
        modPlitar game(h);
        game.nTotal = 144;
        if (c.board != Board::Empty) {
            const bool open = c.board == Board::Open;
            game.aMap.set(5, 5, 2, 9);
            game.aIndex.set(5, 5, 2, 1);
            game.aMap.set(open ? 9 : 5, 5, open ? 2 : 1, 9);
            game.aIndex.set(open ? 9 : 5, 5, open ? 2 : 1, 2);
            game.aLoaded[1] = game.aLoaded[2] = 1;
        }
        game.nSel1 = 1;
        h.setCaption("unchanged");
        EXPECT_EQ(c.command ? game.funSort() : game.funAutoSort(), c.answer);
        EXPECT_EQ(h.draws, 2 * c.shuffles);
        EXPECT_EQ(h.caption(), c.caption);
        EXPECT_EQ(game.nSel1, c.shuffles > 0 ? 0 : 1);
    }
}

TEST_F(ShuffleTest, AShuffleThatOpensAPairSaysSo)
{
    rowOfThree();
    ASSERT_EQ(g.funPairs(), 0);
    host.script = {0.0f, 0.5f, 0.0f, 0.0f};  // takes 5, then 6 of [5 6 7], then 5, then 7
    EXPECT_EQ(g.funAutoSort(), 1);
    EXPECT_EQ(host.draws, 4);
    EXPECT_EQ(g.aMap(3, 1, 1), 6);
    EXPECT_EQ(host.caption(), "Плитар 2 / 4 / 4 Перемешано");
}

TEST_F(ShuffleTest, AShuffleMovesOnlyFacesAndDropsTheSelection)
{
    // a dealt board of fifty tiles on two layers
    for (int y = 1; y <= 9; y += 2)
        for (int x = 1; x <= 11; x += 2)
            g.aMap.set(x, y, 1, 1);
    for (int y = 2; y <= 8; y += 2)
        for (int x = 2; x <= 10; x += 2)
            g.aMap.set(x, y, 2, 1);
    g.subSet144();
    showAll();
    const Grid indexBefore = g.aIndex;
    std::vector<int16_t> facesBefore;
    for (int i = 0; i < Grid::kCells; ++i)
        if (g.aMap.atIndex(i) != 0)
            facesBefore.push_back(g.aMap.atIndex(i));
    g.nSel1 = 3;
    g.nSel2 = 4;

    bool moved = false;
    for (int round = 0; round < 3; ++round) {
        g.subSort();
        std::vector<int16_t> faces;
        for (int i = 0; i < Grid::kCells; ++i) {
            ASSERT_EQ(g.aIndex.atIndex(i), indexBefore.atIndex(i));
            ASSERT_EQ(g.aMap.atIndex(i) != 0, indexBefore.atIndex(i) != 0);
            if (g.aMap.atIndex(i) != 0)
                faces.push_back(g.aMap.atIndex(i));
        }
        moved = moved || faces != facesBefore;
        std::sort(faces.begin(), faces.end());
        auto sortedBefore = facesBefore;
        std::sort(sortedBefore.begin(), sortedBefore.end());
        EXPECT_EQ(faces, sortedBefore);
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(g.nSel1, 0);
    EXPECT_EQ(g.nSel2, 0);
    EXPECT_TRUE(host.pictures.empty());  // the sprites are repainted by the caller
}

}  // namespace
}  // namespace plitar::testing
