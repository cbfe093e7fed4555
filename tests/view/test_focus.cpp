// Where the keyboard focus goes: the arrows over the uncovered tiles by
// their cells, Tab and Shift+Tab over the free tiles in scan order, and the
// nearest tile when the focused one has gone.
#include <gtest/gtest.h>

#include "view/FocusRules.h"

using namespace plitar;

namespace {

// n, x, y, z, free, onTop; listed in scan order.
TileFacts t(int n, int x, int y, int z, bool free, bool onTop = true)
{
    TileFacts f;
    f.n = static_cast<int16_t>(n);
    f.x = static_cast<int16_t>(x);
    f.y = static_cast<int16_t>(y);
    f.z = static_cast<int16_t>(z);
    f.free = free;
    f.onTop = onTop;
    return f;
}

// A layer of three rows of three, the middle tile covered by one on layer 2
// set half a tile right and down:
//   1 2 3        (row 1)
//   4 5 6        (row 3; 5 covered)
//   7 8 9        (row 5)
// and 10 on layer 2 at (4, 4).
const std::vector<TileFacts> kBoard = {
    t(1, 1, 1, 1, true),  t(2, 3, 1, 1, false), t(3, 5, 1, 1, true),
    t(4, 1, 3, 1, true),  t(5, 3, 3, 1, false, false), t(6, 5, 3, 1, true),
    t(7, 1, 5, 1, true),  t(8, 3, 5, 1, false), t(9, 5, 5, 1, true),
    t(10, 4, 4, 2, true),
};

struct Case {
    const char* what;
    int from;
    FocusStep step;
    int to;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class FocusStepTest : public testing::TestWithParam<Case> {};

TEST_P(FocusStepTest, GoesWhereTheRuleSays)
{
    const Case& c = GetParam();
    EXPECT_EQ(stepFocus(kBoard, static_cast<int16_t>(c.from), c.step), c.to) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Board, FocusStepTest,
    testing::Values(
        Case{"along the row", 1, FocusStep::Right, 2}, Case{"back along the row", 3, FocusStep::Left, 2},
        Case{"down the column", 1, FocusStep::Down, 4}, Case{"up the column", 7, FocusStep::Up, 4},
        // From 4 the covered 5 is passed over: 10 on the layer above (3 columns
        // right, 1 row down) scores 5, 6 (4 right) scores 4.
        Case{"over a covered tile to the nearest along the row", 4, FocusStep::Right, 6},
        Case{"down over a covered tile", 2, FocusStep::Down, 8},
        Case{"the upper tile half a tile aside", 6, FocusStep::Left, 10},
        Case{"from the upper tile down", 10, FocusStep::Down, 8},
        Case{"no tile that way: the focus stays", 3, FocusStep::Right, 0},
        Case{"Tab: the next free tile in scan order", 1, FocusStep::NextFree, 3},
        Case{"Tab from a blocked tile", 2, FocusStep::NextFree, 3},
        Case{"Tab round the end", 10, FocusStep::NextFree, 1},
        Case{"Shift+Tab", 4, FocusStep::PreviousFree, 3},
        Case{"Shift+Tab round the start", 1, FocusStep::PreviousFree, 10}));

TEST(FocusRules, ATileFurtherAsideThanAheadIsNotThatWay)
{
    const std::vector<TileFacts> two = {t(1, 1, 1, 1, true), t(2, 3, 5, 1, true)};
    EXPECT_EQ(stepFocus(two, 1, FocusStep::Right), 0);
    EXPECT_EQ(stepFocus(two, 1, FocusStep::Down), 2);
}

TEST(FocusRules, TiesGoToTheUppermostThenToScanOrder)
{
    // Two uncovered tiles at the same distance to the right, one row up and
    // one row down; then the same on two layers.
    const std::vector<TileFacts> level = {t(1, 1, 3, 1, true), t(2, 3, 1, 1, true), t(3, 3, 5, 1, true)};
    EXPECT_EQ(stepFocus(level, 1, FocusStep::Right), 2);
    const std::vector<TileFacts> layered = {t(1, 1, 3, 1, true), t(2, 3, 1, 1, true), t(3, 3, 5, 2, true)};
    EXPECT_EQ(stepFocus(layered, 1, FocusStep::Right), 3);
}

TEST(FocusRules, TabWithoutAFreeTileOrATileStays)
{
    const std::vector<TileFacts> blocked = {t(1, 1, 1, 1, false), t(2, 3, 1, 1, false)};
    EXPECT_EQ(stepFocus(blocked, 1, FocusStep::NextFree), 0);
    EXPECT_EQ(stepFocus({}, 0, FocusStep::Right), 0);
    // The only free tile holds the focus: Tab has nowhere else to go.
    EXPECT_EQ(stepFocus({t(1, 1, 1, 1, true)}, 1, FocusStep::NextFree), 0);
}

TEST(FocusRules, TheNearestUncoveredTileTakesTheFocusOfOneThatWent)
{
    // Where 5 lay (3, 3): 10 at (4, 4) is nearer than 2, 4, 6 or 8.
    EXPECT_EQ(nearestTile(kBoard, true, 3, 3), 10);
    // Where 1 lay: 2 and 4 are as near; 2 comes first in scan order.
    std::vector<TileFacts> without1(kBoard.begin() + 1, kBoard.end());
    EXPECT_EQ(nearestTile(without1, true, 1, 1), 2);
    // A new game with nothing to start from: the first free tile in scan order.
    EXPECT_EQ(nearestTile(without1, false, 0, 0), 3);
    EXPECT_EQ(nearestTile({t(4, 1, 1, 1, false)}, false, 0, 0), 4);
    EXPECT_EQ(nearestTile({}, true, 1, 1), 0);
}

}  // namespace
