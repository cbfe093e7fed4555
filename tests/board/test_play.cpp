// Selecting tiles, testing a pair, taking tiles off, and the caption.
#include <functional>
#include <iterator>
#include <map>
#include <vector>

#include "BoardFixture.h"

namespace plitar::testing {
namespace {

class PlayTest : public BoardTest {
protected:
    void SetUp() override
    {
        g.nSize = 56;
        put(1, 1, 1, 1, 35);
        put(2, 5, 1, 1, 38);
        put(3, 9, 1, 1, 39);
        put(4, 13, 1, 1, 12);
    }
};

TEST_F(PlayTest, SelectingAndUnselectingShowTheLookAtTheCurrentSize)
{
    // Every size in turn; unselecting takes the size of the moment, here the next one.
    const int16_t sizes[] = {70, 63, 56, 49};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        const int16_t next = sizes[(i + 1) % std::size(sizes)];
        host.pictures.clear();
        g.nSize = sizes[i];
        g.subSetIndex(2);
        EXPECT_EQ(host.pictures[2], (Picture{TileLook::Selected, sizes[i], 38})) << "selected at " << sizes[i];
        g.nSize = next;
        g.subRemIndex(2);
        EXPECT_EQ(host.pictures[2], (Picture{TileLook::Normal, next, 38})) << "unselected at " << next;
    }
    g.subRemIndex(0);  // nothing selected: no message, no picture
    host.pictures.clear();
    g.nSize = 0;  // no size yet: no picture changes
    g.subSetIndex(1);
    g.subRemIndex(1);
    EXPECT_TRUE(host.pictures.empty());
}

TEST_F(PlayTest, APairIsTestedByTheMatchingRule)
{
    struct Case { int16_t a, b, match; };
    const Case cases[] = {{1, 2, 1}, {2, 1, 1}, {2, 3, 0}, {3, 4, 0}, {4, 4, 1}};
    for (const auto& c : cases) {
        g.nSel1 = c.a;
        g.nSel2 = c.b;
        EXPECT_EQ(g.funEnDel(), c.match) << c.a << " and " << c.b;
    }
}

TEST_F(PlayTest, TakingATileOffClearsItsCellsAndDestroysItsSprite)
{
    g.subDelCur(2);
    EXPECT_EQ(g.aMap(5, 1, 1), 0);
    EXPECT_EQ(g.aIndex(5, 1, 1), 0);
    EXPECT_EQ(g.aLoaded[2], 0);
    EXPECT_EQ(host.destroyed, (std::vector<int16_t>{2}));
    EXPECT_EQ(g.funTilesLeft(), 3);
    EXPECT_EXIT(g.funEnSel(2), failedExit, "fault: funEnSel: Кость не найдена");
    // the others are found as before
    EXPECT_EQ(g.funEnSel(3), 1);
}

TEST_F(PlayTest, InternalFaultsNameTheProcedureThatFoundThem)
{
    struct Case { const char* what; std::function<void()> run; const char* message; };
    const Case cases[] = {
        {"select no tile", [&] { g.subSetIndex(0); }, "fault: subSetIndex: Кость не указана"},
        {"select a tile not on the board", [&] { g.subSetIndex(9); }, "fault: subSetIndex: Кость не найдена"},
        {"unselect a tile not on the board", [&] { g.subRemIndex(9); }, "fault: subRemIndex: Кость не найдена"},
        {"take off no tile", [&] { g.subDelCur(0); }, "fault: subDelCur: Кость не указана"},
        {"take off a tile not on the board", [&] { g.subDelCur(9); }, "fault: subDelCur: Кость не найдена"},
        {"test a pair without a first tile", [&] { g.nSel2 = 1; g.funEnDel(); }, "fault: funEnDel: Кость не выделена"},
        {"test a pair without a second tile", [&] { g.nSel1 = 1; g.funEnDel(); }, "fault: funEnDel: Кость не выделена"},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(c.run(), failedExit, c.message) << c.what;
}

// Clicks by the click rules on the row 35 38 39 12 with a 12 lying on the
// last tile: what is selected afterwards and how it looks, what left the board,
// and what the last click answered (1: a pair left, repaint everything).
TEST_F(PlayTest, ClicksFollowTheClickRules)
{
    struct Case {
        const char* what;
        std::vector<int16_t> clicks;
        int16_t selected;
        std::map<int16_t, Picture> pictures;
        std::vector<int16_t> destroyed;
        int16_t answer;
    };
    const Picture normal35{TileLook::Normal, 56, 35}, selected35{TileLook::Selected, 56, 35},
        selected39{TileLook::Selected, 56, 39};
    const Case cases[] = {
        {"a blocked tile", {4}, 0, {}, {}, 0},
        {"a blocked tile keeps the selection", {1, 4}, 1, {{1, selected35}}, {}, 0},
        {"the selected tile again", {1, 1}, 0, {{1, normal35}}, {}, 0},
        {"no match: the selection moves", {1, 3}, 3, {{1, normal35}, {3, selected39}}, {}, 0},
        {"two flowers leave", {1, 2}, 0, {{1, selected35}, {2, {TileLook::Selected, 56, 38}}}, {1, 2}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeHost h;
        h.autoSort = false;
        modPlitar game(h);
        game.nSize = 56;
        const int16_t faces[] = {35, 38, 39, 12};
        for (int16_t n = 1; n <= 4; ++n) {
            game.aMap.set(4 * n - 3, 1, 1, faces[n - 1]);
            game.aIndex.set(4 * n - 3, 1, 1, n);
        }
        game.aMap.set(13, 1, 2, 12);
        game.aIndex.set(13, 1, 2, 5);
        game.aLoaded.fill(0);
        for (int n = 1; n <= 5; ++n)
            game.aLoaded[n] = 1;
        game.nTotal = 5;
        int16_t answer = -1;
        for (int16_t n : c.clicks)
            answer = game.funClick(n);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(game.nSel1, c.selected);
        EXPECT_EQ(game.nSel2, 0);
        EXPECT_EQ(h.pictures, c.pictures);
        EXPECT_EQ(h.destroyed, c.destroyed);
        EXPECT_EQ(game.funTilesLeft(), 5 - static_cast<int>(c.destroyed.size()));
        EXPECT_EQ(h.caption(), c.answer == 1 ? "Плитар 0 / 3 / 5" : "");
    }
}

// The caption counts sprites for the tiles left; the tests show as many as they need.
struct CaptionCase {
    const char* what;
    int freePairs;     // faces with two free tiles each
    int shown;         // sprites shown in all
    int16_t dealt;
    const char* caption;
};

class Caption : public BoardTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(Caption, ShowsOpenPairsTilesLeftAndTilesDealt)
{
    const auto& c = GetParam();
    for (int16_t f = 1; f <= c.freePairs; ++f) {
        put(static_cast<int16_t>(2 * f - 1), 4 * f - 3, 1, 1, f);
        put(static_cast<int16_t>(2 * f), 4 * f - 3, 5, 1, f);
    }
    for (int k = 1; k <= 144; ++k)
        g.aLoaded[k] = k <= c.shown ? 1 : 0;
    g.nTotal = c.dealt;
    host.setCaption("Плитар");
    g.subCaption();
    EXPECT_EQ(host.caption(), c.caption) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Caption,
    ::testing::Values(CaptionCase{"fresh deal, five open pairs", 5, 144, 144, "Плитар 10 / 144 / 144"},
                      CaptionCase{"later in the game", 5, 140, 144, "Плитар 10 / 140 / 144"},
                      CaptionCase{"no open pair, no notice", 0, 38, 144, "Плитар 0 / 38 / 144"},
                      CaptionCase{"a small layout", 1, 20, 20, "Плитар 2 / 20 / 20"},
                      CaptionCase{"the board is empty", 0, 0, 144, "Плитар 0 / 0 / 144 Победа!"}));

}  // namespace
}  // namespace plitar::testing
