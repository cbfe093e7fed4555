// The free-tile rule and the count of open pairs.
#include "BoardFixture.h"

namespace plitar::testing {
namespace {

// The tile under test is tile 1 at (10, 10, 3); each case adds neighbours.
struct Neighbour { int dx, dy, dz; };
struct FreeCase {
    const char* what;
    std::vector<Neighbour> around;
    int16_t free;
};

class FreeRule : public BoardTest, public ::testing::WithParamInterface<FreeCase> {};

TEST_P(FreeRule, AnswersByTheNineCellsAboveAndTheThreeOnEachSide)
{
    put(1, 10, 10, 3, 5);
    int16_t n = 2;
    for (const auto& nb : GetParam().around)
        put(n++, 10 + nb.dx, 10 + nb.dy, 3 + nb.dz, 6);
    EXPECT_EQ(g.funEnSel(1), GetParam().free) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeRule,
    ::testing::Values(
        FreeCase{"alone", {}, 1},
        FreeCase{"covered straight above", {{0, 0, 1}}, 0},
        FreeCase{"covered one column right and one row down", {{1, 1, 1}}, 0},
        FreeCase{"covered one column left and one row up", {{-1, -1, 1}}, 0},
        FreeCase{"covered one row down", {{0, 1, 1}}, 0},
        FreeCase{"two columns right on the layer above does not cover", {{2, 0, 1}}, 1},
        FreeCase{"two rows down on the layer above does not cover", {{0, 2, 1}}, 1},
        FreeCase{"two layers up is not looked at", {{0, 0, 2}}, 1},
        FreeCase{"the layer below never blocks", {{0, 0, -1}, {-2, 0, 0}}, 1},
        FreeCase{"one side closed", {{-2, 0, 0}}, 1},
        FreeCase{"both sides closed", {{-2, 0, 0}, {2, 0, 0}}, 0},
        FreeCase{"only neighbour half a row down on the left", {{-2, 1, 0}}, 1},
        FreeCase{"half a row down left and half a row up right", {{-2, 1, 0}, {2, -1, 0}}, 0},
        FreeCase{"sides two rows away never block", {{-2, 2, 0}, {2, 2, 0}}, 1},
        FreeCase{"sides two rows up never block", {{-2, -2, 0}, {2, -2, 0}}, 1},
        FreeCase{"one column aside is not a side", {{-1, 0, 0}, {1, 0, 0}}, 1},
        FreeCase{"three columns aside is not a side", {{-3, 0, 0}, {3, 0, 0}}, 1}));

TEST_F(BoardTest, TheTopLayerIsNeverCoveredAndTheBoardsEdgesAreOpen)
{
    put(1, 20, 10, 10, 5);   // layer 10 with both sides open
    EXPECT_EQ(g.funEnSel(1), 1);
    put(2, 50, 30, 1, 5);    // far corner: right side lies beyond the grid
    put(3, 48, 30, 1, 6);    // closes its left side
    EXPECT_EQ(g.funEnSel(2), 1);
    put(4, 1, 1, 1, 7);      // near corner: left side is the guard border
    put(5, 3, 1, 1, 8);
    EXPECT_EQ(g.funEnSel(4), 1);
    put(6, 49, 29, 2, 7);    // half off the last column: its right side and the rows below are outside
    put(7, 47, 29, 2, 8);
    EXPECT_EQ(g.funEnSel(6), 1);
}

TEST_F(BoardTest, TileNumberZeroIsNeverFreeAndAnUnknownTileIsAFault)
{
    EXPECT_EQ(g.funEnSel(0), 0);
    put(1, 5, 5, 1, 3);
    EXPECT_EXIT(g.funEnSel(2), failedExit, "fault: funEnSel: Кость не найдена");
}

struct PairsCase {
    const char* what;
    std::vector<int16_t> freeFaces;     // on free tiles, far apart
    std::vector<int16_t> blockedFaces;  // on tiles under a cover
    int16_t pairs;
};

class OpenPairs : public BoardTest, public ::testing::WithParamInterface<PairsCase> {};

TEST_P(OpenPairs, CountsOrderedPairsOfMatchingFreeTiles)
{
    int16_t n = 1;
    int x = 1;
    for (int16_t f : GetParam().freeFaces) {
        put(n++, x, 1, 1, f);
        x += 4;
    }
    x = 1;
    for (int16_t f : GetParam().blockedFaces) {
        put(n++, x, 10, 1, f);
        put(n++, x, 10, 2, 42);  // cover: a season that matches nothing in these cases
        x += 4;
    }
    EXPECT_EQ(g.funPairs(), GetParam().pairs) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenPairs,
    ::testing::Values(
        PairsCase{"empty board", {}, {}, 0},
        PairsCase{"one tile", {7}, {}, 0},
        PairsCase{"two of a face", {7, 7}, {}, 2},
        PairsCase{"three of a face", {7, 7, 7}, {}, 6},
        PairsCase{"four of a face", {7, 7, 7, 7}, {}, 12},
        PairsCase{"two pairs of different faces", {7, 7, 9, 9}, {}, 4},
        PairsCase{"two flowers", {35, 37}, {}, 2},
        PairsCase{"four flowers", {35, 36, 37, 38}, {}, 12},
        PairsCase{"a flower and a season", {35, 39}, {}, 0},
        PairsCase{"a free and a blocked tile of one face", {7}, {7}, 0},
        PairsCase{"white dragon only with itself", {34, 33, 32}, {}, 0}));

}  // namespace
}  // namespace plitar::testing
