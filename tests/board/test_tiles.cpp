// The tile set, the grids and clearing the board.
#include "BoardFixture.h"

namespace plitar::testing {
namespace {

TEST(Matching, FacesMatchWhenEqualOrOfOneBonusGroup)
{
    struct Case { int a, b; bool match; };
    const Case cases[] = {
        {5, 5, true},   {5, 6, false},  {34, 34, true}, {34, 33, false}, {34, 35, false},
        {35, 38, true}, {36, 37, true}, {38, 39, false}, {39, 42, true}, {40, 41, true},
        {42, 35, false}, {27, 28, false}, {9, 18, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(facesMatch(c.a, c.b), c.match) << c.a << " ~ " << c.b;
        EXPECT_EQ(facesMatch(c.b, c.a), c.match) << c.b << " ~ " << c.a;
    }
}

TEST(Grid, ReadsOutsideTheDeclaredRangesAnswerEmptyAndWritesThereAreDropped)
{
    Grid grid;
    for (int z = -1; z <= 10; ++z)
        for (int y = -1; y <= 30; ++y)
            for (int x = -1; x <= 50; ++x)
                grid.set(x, y, z, 7);
    EXPECT_EQ(grid(-1, -1, -1), 7);
    EXPECT_EQ(grid(50, 30, 10), 7);
    const int outside[][3] = {{-2, 1, 1}, {51, 1, 1}, {52, 5, 5}, {1, -2, 1}, {1, 31, 1}, {1, 1, -2}, {1, 1, 11}};
    for (const auto& c : outside) {
        grid.set(c[0], c[1], c[2], 9);  // must not land anywhere
        EXPECT_EQ(grid(c[0], c[1], c[2]), 0) << c[0] << "," << c[1] << "," << c[2];
    }
    int sevens = 0;
    for (int i = 0; i < Grid::kCells; ++i)
        sevens += grid.atIndex(i) == 7;
    EXPECT_EQ(sevens, Grid::kCells);
}

TEST_F(BoardTest, ClearEmptiesTheGridsDestroysOnlyLiveSpritesAndKeepsPositions)
{
    put(1, 1, 1, 1, 3);
    put(2, 3, 1, 1, 3);
    put(3, 5, 1, 1, 4);
    put(4, 7, 1, 1, 4);
    g.aLoaded[2] = 0;  // removed during play: its sprite is gone already
    g.aMap.set(-1, 0, -1, 5);  // a stray guard cell
    g.aIndex.set(0, -1, 0, 9);
    g.aLeft.set(3, 4, 5, 123);
    g.aTop.set(3, 4, 5, -30);
    g.nSel1 = 1;
    g.nSel2 = 3;
    g.nSize = 63;
    g.nSizeOld = 63;
    host.setCaption("Плитар 2 / 3 / 4");

    g.subClear();

    for (int i = 0; i < Grid::kCells; ++i) {
        ASSERT_EQ(g.aMap.atIndex(i), 0);
        ASSERT_EQ(g.aIndex.atIndex(i), 0);
    }
    EXPECT_EQ(host.destroyed, (std::vector<int16_t>{1, 3, 4}));
    for (int n = 1; n <= 144; ++n)
        EXPECT_EQ(g.aLoaded[n], 0);
    EXPECT_EQ(g.aLeft(3, 4, 5), 123);
    EXPECT_EQ(g.aTop(3, 4, 5), -30);
    EXPECT_EQ(g.nSel1, 0);
    EXPECT_EQ(g.nSel2, 0);
    EXPECT_EQ(g.nTotal, 0);
    EXPECT_EQ(g.nSize, 63);
    EXPECT_EQ(g.nSizeOld, 63);
    EXPECT_EQ(host.caption(), "Плитар 2 / 3 / 4");

    host.destroyed.clear();
    g.subClear();  // an empty board: nothing to destroy
    EXPECT_TRUE(host.destroyed.empty());
}

}  // namespace
}  // namespace plitar::testing
