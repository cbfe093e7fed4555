// The shuffle and the automatic shuffle when no open pair is left.
#include <algorithm>

#include "BoardFixture.h"

namespace plitar::testing {
namespace {

class ShuffleTest : public BoardTest {
protected:
    // Two tiles left, one lying straight on the other: no shuffle can open them.
    void stuckStack()
    {
        put(1, 5, 5, 2, 9);
        put(2, 5, 5, 1, 9);
        g.nTotal = 144;
    }
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

TEST_F(ShuffleTest, AStuckStackIsShuffledAHundredTimesThenGivenUp)
{
    stuckStack();
    host.setCaption("Плитар 0 / 2 / 144");
    EXPECT_EQ(g.funAutoSort(), 1);
    EXPECT_EQ(host.draws, 200);  // a hundred shuffles of two tiles, two draws each
    EXPECT_EQ(host.caption(), "Плитар 0 / 2 / 144 Не перемешивается");
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

TEST_F(ShuffleTest, NothingHappensWhenOffOrAPairIsOpenOrTheBoardIsEmpty)
{
    struct Case { const char* what; bool option; bool pairOpen; bool empty; };
    const Case cases[] = {
        {"option off", false, false, false},
        {"a pair is open", true, true, false},
        {"no tile left", true, false, true},
    };
    for (const auto& c : cases) {
        FakeHost h;
        modPlitar game(h);
        h.autoSort = c.option;
        if (!c.empty) {
            game.aMap.set(5, 5, 1, 9);
            game.aIndex.set(5, 5, 1, 2);
            game.aMap.set(c.pairOpen ? 9 : 5, 5, c.pairOpen ? 1 : 2, 9);
            game.aIndex.set(c.pairOpen ? 9 : 5, 5, c.pairOpen ? 1 : 2, 1);
            game.aLoaded[1] = game.aLoaded[2] = 1;
        }
        game.nTotal = 2;
        h.setCaption("unchanged");
        EXPECT_EQ(game.funAutoSort(), 0) << c.what;
        EXPECT_EQ(h.draws, 0) << c.what;
        EXPECT_EQ(h.caption(), "unchanged") << c.what;
    }
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
