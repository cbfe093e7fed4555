// Dealing: the draw, the two half-lists and the backwards tile numbers.
#include <cmath>
#include <map>
#include <set>

#include "BoardFixture.h"

namespace plitar::testing {
namespace {

struct Cell { int x, y, z; };

// A 144-tile board: twelve rows of twelve on layer 1.
std::vector<Cell> square144()
{
    std::vector<Cell> cells;
    for (int y = 1; y <= 23; y += 2)
        for (int x = 1; x <= 23; x += 2)
            cells.push_back({x, y, 1});
    return cells;
}

class DealTest : public BoardTest {
protected:
    void mark(const std::vector<Cell>& cells, int16_t marker = 1)
    {
        for (const auto& c : cells)
            g.aMap.set(c.x, c.y, c.z, marker);
    }
};

TEST_F(DealTest, DrawStaysWithinTheListForEveryNumberTheSourceGives)
{
    const float belowOne = std::nextafter(1.0f, 0.0f);
    struct Case { int16_t k; float r; int16_t index; };
    const Case cases[] = {
        {1, 0.0f, 1},       {1, belowOne, 1},    {2, 0.49f, 1},      {2, 0.5f, 2},
        {3, belowOne, 3},   {40, belowOne, 40},  {72, belowOne, 72}, {144, belowOne, 144},
        {144, 0.0f, 1},     {143, 0.9999999f, 143},
        // a source that strays outside [0, 1) still lands in the list
        {144, 1.0f, 144},   {10, -0.25f, 1},     {10, NAN, 1},
    };
    for (const auto& c : cases) {
        host.script = {c.r};
        EXPECT_EQ(g.funDraw(c.k), c.index) << "k=" << c.k << " r=" << c.r;
    }
}

TEST_F(DealTest, TwoTilesShareTheOneDrawnFaceAndTheFirstInScanOrderIsTileTwo)
{
    mark({{7, 4, 2}, {3, 9, 1}});  // (3,9,1) comes first: layer 1 before layer 2
    g.subSet144();
    EXPECT_EQ(g.nTotal, 2);
    EXPECT_EQ(g.aIndex(3, 9, 1), 2);
    EXPECT_EQ(g.aIndex(7, 4, 2), 1);
    EXPECT_EQ(g.aMap(3, 9, 1), g.aMap(7, 4, 2));
    EXPECT_GE(g.aMap(3, 9, 1), 1);
    EXPECT_LE(g.aMap(3, 9, 1), 42);
    EXPECT_EQ(host.draws, 3);  // one face drawn, then one pick from each half-list
}

TEST_F(DealTest, AnEmptyBoardDrawsAndWritesNothing)
{
    g.subSet144();
    EXPECT_EQ(g.nTotal, 0);
    EXPECT_EQ(host.draws, 0);
    for (int i = 0; i < Grid::kCells; ++i)
        ASSERT_EQ(g.aIndex.atIndex(i), 0);
}

TEST_F(DealTest, WithTheSourceAlwaysZeroBothHalvesTakeThePoolInOrder)
{
    const auto cells = square144();
    mark(cells);
    host.always = 0.0f;
    g.subSet144();
    ASSERT_EQ(g.nTotal, 144);
    // The first 72 entries of the pool: 1..27, 1..27, 1..18.
    for (int i = 0; i < 144; ++i) {
        const int j = i % 72;
        const int expectedFace = j % 27 + 1;
        const auto& c = cells[static_cast<std::size_t>(i)];
        ASSERT_EQ(g.aMap(c.x, c.y, c.z), expectedFace) << "cell " << i;
        ASSERT_EQ(g.aIndex(c.x, c.y, c.z), 144 - i) << "cell " << i;
    }
}

TEST_F(DealTest, AnyNonZeroMarkerIsATile)
{
    g.aMap.set(1, 1, 1, 7);
    g.aMap.set(5, 5, 1, -3);
    g.subSet144();
    EXPECT_EQ(g.nTotal, 2);
    EXPECT_EQ(g.aMap(1, 1, 1), g.aMap(5, 5, 1));
    EXPECT_EQ(g.aIndex(1, 1, 1) + g.aIndex(5, 5, 1), 3);
}

TEST_F(DealTest, AFullBoardHoldsEveryDrawnFaceTwiceAndEveryTileNumberOnce)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        FakeHost h(seed);
        modPlitar game(h);
        for (const auto& c : square144())
            game.aMap.set(c.x, c.y, c.z, 1);
        game.subSet144();
        std::map<int, int> perFace;
        std::set<int> numbers;
        for (const auto& c : square144()) {
            perFace[game.aMap(c.x, c.y, c.z)]++;
            numbers.insert(game.aIndex(c.x, c.y, c.z));
        }
        EXPECT_EQ(numbers.size(), 144u);
        EXPECT_EQ(*numbers.begin(), 1);
        EXPECT_EQ(*numbers.rbegin(), 144);
        for (auto [face, count] : perFace) {
            EXPECT_GE(face, 1);
            EXPECT_LE(face, 42);
            EXPECT_EQ(count % 2, 0) << "face " << face << " seed " << seed;
            if (face >= 35)
                EXPECT_EQ(count, 2) << "bonus face " << face << " seed " << seed;
            else
                EXPECT_LE(count, 8);
        }
        // aMap holds a face exactly where aIndex holds a tile
        for (int i = 0; i < Grid::kCells; ++i)
            ASSERT_EQ(game.aMap.atIndex(i) != 0, game.aIndex.atIndex(i) != 0);
    }
}

TEST_F(DealTest, AnOddCountStopsWithTheDealersMessage)
{
    mark({{1, 1, 1}, {3, 1, 1}, {5, 1, 1}});
    EXPECT_EXIT(g.subSet144(), failedExit, "fault: subSet144: Количество костей не делится на 2");
}

TEST_F(DealTest, MoreTilesThanTheSetHoldsAreRefusedBeforeAnyListOverruns)
{
    auto cells = square144();
    cells.push_back({1, 25, 1});
    cells.push_back({3, 25, 1});
    mark(cells);
    EXPECT_EXIT(g.subSet144(), failedExit, "fault: subSet144: Количество костей больше 144");
}

}  // namespace
}  // namespace plitar::testing
