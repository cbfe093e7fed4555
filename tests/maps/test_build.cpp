// Building layouts on the board: the marks every builder leaves, the deal
// that follows, and how the tiles of particular layouts lie at the start.

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "FakeHost.h"
#include "board/modPlitar.h"
#include "maps/modMaps.h"

namespace plitar {
namespace {

using Cell = std::tuple<int, int, int>;  // x, y, z
using Cells = std::set<Cell>;

Cells originsOf(const LayoutRecord& record)
{
    Cells cells;
    for (const Origin& o : expandLayout(record))
        cells.insert({o.x, o.y, o.z});
    return cells;
}

Cells occupied(const modPlitar& game)
{
    Cells cells;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        if (game.aMap.atIndex(cell) != 0)
            cells.insert({x, y, z});
    });
    return cells;
}

class Built : public ::testing::Test {
protected:
    void build(int number)
    {
        game.subClear();
        buildLayout(game, number);
    }
    bool isFree(int x, int y, int z) { return game.funEnSel(game.aIndex(x, y, z)) == 1; }
    Cells freeTiles()
    {
        Cells free;
        for (const auto& [x, y, z] : occupied(game))
            if (isFree(x, y, z))
                free.insert({x, y, z});
        return free;
    }
    bool coveredFromAbove(int x, int y, int z) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (game.aMap(x + dx, y + dy, z + 1) != 0)
                    return true;
        return false;
    }

    testing::FakeHost host;
    modPlitar game{host};
};

// --------------------------------------------------------- every layout

class EveryLayout : public Built, public ::testing::WithParamInterface<int> {};

TEST_P(EveryLayout, MarksExactlyItsOriginsAndDealsThem)
{
    const LayoutRecord& record = layoutByNumber(GetParam());
    build(record.number);

    const Cells cells = occupied(game);
    EXPECT_EQ(cells, originsOf(record));
    EXPECT_EQ(game.nTotal, record.tiles);
    for (const LayerLine& line : record.layers) {
        int onLayer = 0;
        for (const auto& [x, y, z] : cells)
            onLayer += z == line.z;
        EXPECT_EQ(onLayer, line.count) << "layer " << line.z;
    }
    // Every tile got a number of 1..N, each number once.
    std::set<int> numbers;
    for (const auto& [x, y, z] : cells)
        numbers.insert(game.aIndex(x, y, z));
    ASSERT_EQ(numbers.size(), cells.size());
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), record.tiles);
    // A number stands exactly where a face does, guard border included.
    for (int i = 0; i < Grid::kCells; ++i)
        ASSERT_EQ(game.aMap.atIndex(i) != 0, game.aIndex.atIndex(i) != 0) << "cell " << i;
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, EveryLayout, ::testing::Range(1, kLayoutCount + 1),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return std::string(layoutByNumber(p.param).builder);
                         });

TEST_F(Built, EachBuilderBuildsTheLayoutOfItsName)
{
    using Builder = void (modMaps::*)();
    const Builder builders[kLayoutCount] = {
        &modMaps::subGame1,   &modMaps::subGame2,   &modMaps::subGame3,   &modMaps::subGame4,
        &modMaps::subGame5,   &modMaps::subGame6,   &modMaps::subGameL1,  &modMaps::subGameL2,
        &modMaps::subGameL3,  &modMaps::subGameL4,  &modMaps::subGameL5,  &modMaps::subGameL6,
        &modMaps::subGameL7,  &modMaps::subGameL8,  &modMaps::subGameL9,  &modMaps::subGameL10,
        &modMaps::subGameL11, &modMaps::subGameL12, &modMaps::subGameL13, &modMaps::subGameL14,
        &modMaps::subGameL15, &modMaps::subGameL16, &modMaps::subGameL17, &modMaps::subGameL18,
        &modMaps::subGameL19, &modMaps::subGameL20, &modMaps::subGameL21, &modMaps::subGameL22,
        &modMaps::subGameL23, &modMaps::subGameL24, &modMaps::subGameL25, &modMaps::subGameL26,
        &modMaps::subGameL27, &modMaps::subGameL28, &modMaps::subGameL29, &modMaps::subGameL30,
        &modMaps::subGameL31, &modMaps::subGameL32, &modMaps::subGameL33, &modMaps::subGameL34,
        &modMaps::subGameL35, &modMaps::subGameL36, &modMaps::subGameL37, &modMaps::subGameL38,
        &modMaps::subGameL39, &modMaps::subGameL40,
    };
    modMaps maps(game);
    for (int number = 1; number <= kLayoutCount; ++number) {
        const LayoutRecord& record = layoutByNumber(number);
        SCOPED_TRACE(std::string(record.builder));
        game.subClear();
        (maps.*builders[number - 1])();
        EXPECT_EQ(occupied(game), originsOf(record));
        EXPECT_EQ(game.nTotal, record.tiles);  // the deal ran
    }
}

TEST(Rebuild, SameCellsAndNumbersAndOtherFaces)
{
    testing::FakeHost zeros, mixed(2), mixedAgain(2);
    zeros.always = 0.0f;
    modPlitar first(zeros), second(mixed), third(mixedAgain);
    for (modPlitar* game : {&first, &second, &third}) {
        game->subClear();
        buildLayout(*game, 1);
    }
    ASSERT_EQ(occupied(first), occupied(second));
    int facesDiffer = 0;
    for (const auto& [x, y, z] : occupied(first)) {
        EXPECT_EQ(first.aIndex(x, y, z), second.aIndex(x, y, z));
        facesDiffer += first.aMap(x, y, z) != second.aMap(x, y, z);
        EXPECT_EQ(second.aMap(x, y, z), third.aMap(x, y, z));  // the same draws, the same deal
    }
    EXPECT_GT(facesDiffer, 0);
}

// ------------------------------------------------- how layouts start out

TEST_F(Built, StaircaseFreesTheRightmostColumnOfEachLayer)
{
    build(37);  // "Лестница"
    ASSERT_EQ(layoutByNumber(37).caption, "Лестница");
    Cells expected;
    for (int z = 1; z <= 5; ++z)
        for (int y = 1; y <= 11; y += 2)
            expected.insert({11 - 2 * z, y, z});
    EXPECT_EQ(freeTiles(), expected);
    EXPECT_EQ(expected.size(), 30u);
}

TEST_F(Built, SimpleStartHasSixFreeTiles)
{
    build(7);  // "Простое начало"
    EXPECT_EQ(freeTiles(), (Cells{{1, 5, 1}, {7, 5, 1}, {4, 2, 2}, {4, 8, 2}, {3, 5, 3}, {5, 5, 3}}));
}

TEST_F(Built, PyramidsFreeTheSinglesAndHoldTheStackTops)
{
    build(3);  // "Пирамидки"
    for (const int y : {1, 15})
        for (const int x : {2, 8, 14, 20})
            EXPECT_TRUE(isFree(x, y, 1)) << x << ", " << y;
    int stackTops = 0;
    for (const auto& [x, y, z] : occupied(game))
        if (z == 4) {
            ++stackTops;
            EXPECT_FALSE(isFree(x, y, z)) << x << ", " << y;
        }
    EXPECT_EQ(stackTops, 32);  // eight stacks of four
}

TEST_F(Built, WallFreesOnlyTheEndsOfItsFullTopRows)
{
    build(6);  // "Стена" of the main menu
    for (const int y : {1, 11}) {
        for (int x = 1; x <= 15; x += 2) {
            ASSERT_NE(game.aMap(x, y, 4), 0) << x << ", " << y;
            EXPECT_EQ(isFree(x, y, 4), x == 1 || x == 15) << x << ", " << y;
        }
    }
}

TEST_F(Built, BlocksAndCupCoverTheirWholeFirstLayer)
{
    for (const int number : {35, 30}) {  // "Блоки", "Чашка"
        SCOPED_TRACE(std::string(layoutByNumber(number).caption));
        build(number);
        for (const auto& [x, y, z] : occupied(game))
            if (z == 1) {
                EXPECT_TRUE(coveredFromAbove(x, y, z)) << x << ", " << y;
                EXPECT_FALSE(isFree(x, y, z)) << x << ", " << y;
            }
    }
}

TEST_F(Built, FlatLayoutsLieOnLayerOneAlone)
{
    // "Дом", "Мяч", "Парусная лодка", "Привидение", "Прицел", "Сетка"
    for (const int number : {15, 14, 18, 26, 22, 25}) {
        const LayoutRecord& record = layoutByNumber(number);
        SCOPED_TRACE(std::string(record.caption));
        build(number);
        const Cells cells = occupied(game);
        EXPECT_EQ(static_cast<int>(cells.size()), record.tiles);
        for (const auto& [x, y, z] : cells)
            EXPECT_EQ(z, 1) << x << ", " << y;
    }
}

TEST(TwoWalls, ShareACaptionButNotTheirTiles)
{
    const LayoutRecord& main = layoutByNumber(6);
    const LayoutRecord& second = layoutByNumber(42);
    EXPECT_EQ(main.caption, "Стена");
    EXPECT_EQ(second.caption, "Стена");
    EXPECT_NE(main.menu, second.menu);
    EXPECT_NE(originsOf(main), originsOf(second));
    EXPECT_EQ(main.layers.size(), 4u);
    EXPECT_EQ(second.layers.size(), 9u);
}

TEST_F(Built, TurtlesHalfOffsetTilesTouchWhatTheyStraddle)
{
    build(1);  // "Черепаха"
    // The outer wing tiles of row 8 stand beside both rows 7 and 9.
    for (const int y : {7, 9}) {
        EXPECT_NE(game.aMap(3, y, 1), 0);
        EXPECT_FALSE(isFree(3, y, 1)) << "the wing at column 1 closes row " << y << " from the left";
        EXPECT_NE(game.aMap(25, y, 1), 0);
        EXPECT_FALSE(isFree(25, y, 1)) << "the wing at column 27 closes row " << y << " from the right";
    }
    EXPECT_TRUE(isFree(1, 8, 1));
    EXPECT_TRUE(isFree(29, 8, 1));
    EXPECT_FALSE(isFree(27, 8, 1));
    // The top tile lies on all four tiles of layer 4.
    ASSERT_NE(game.aMap(14, 8, 5), 0);
    for (const int y : {7, 9})
        for (const int x : {13, 15}) {
            EXPECT_TRUE(coveredFromAbove(x, y, 4)) << x << ", " << y;
            EXPECT_FALSE(isFree(x, y, 4)) << x << ", " << y;
        }
    EXPECT_TRUE(isFree(14, 8, 5));
}

// ------------------------------------------- records that cannot be dealt

TEST(BuildDeathTest, RecordsThatCannotBeDealtAreAFaultBeforeAnyMark)
{
    struct Case {
        const char* what;
        LayerLine line;
        int16_t tiles, xLast, yFirst, yLast;
        const char* message;
    };
    const Case cases[] = {
        {"more tiles than the set", {1, 146, "y 1-19: x 1-27; y 1: x 29, 31, 33, 35, 37, 39"}, 146, 40, 1, 20,
         "fault: subTest: Количество костей больше 144"},
        {"an origin off the board", {1, 2, "y 0: x 1, 3"}, 2, 4, 0, 1, "fault: subTest: Кость вне доски"},
        {"an origin past the last column", {1, 2, "y 1: x 49, 51"}, 2, 52, 1, 2, "fault: subTest: Кость вне доски"},
        {"an origin below the last row", {1, 2, "y 29, 31: x 1"}, 2, 2, 29, 32, "fault: subTest: Кость вне доски"},
        {"an origin above the top layer", {11, 2, "y 1: x 1, 3"}, 2, 4, 1, 2, "fault: subTest: Кость вне доски"},
    };
    for (const Case& c : cases) {
        const LayerLine lines[] = {c.line};
        const LayoutRecord record{99, "subTest", "mnuTest", "Проба", "Набор раскладов 1", 1, c.tiles, 1,
                                  c.xLast, c.yFirst, c.yLast, lines};
        EXPECT_EXIT(
            {
                testing::FakeHost host;
                modPlitar game(host);
                buildLayout(game, record);
            },
            testing::failedExit, c.message)
            << c.what;
    }
}

}  // namespace
}  // namespace plitar
