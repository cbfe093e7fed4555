// The fast rules against the literal ones on many random boards and positions:
// the deal, the free test of every tile, the open-pair count, removals, the
// shuffle, and the grids written behind the rules' back.
#include <random>

#include "BoardFixture.h"
#include "LiteralRules.h"

namespace plitar::testing {
namespace {

// Two games fed the same random sequence: one played by the rules, one by the
// literal reference.
struct Twin {
    explicit Twin(unsigned seed) : fastHost(seed), literalSource(seed) {}
    FakeHost fastHost;
    modPlitar fast{fastHost};
    FakeHost literalSource;
    FakeHost literalHost;
    modPlitar literal{literalHost};
    std::function<float()> rnd = [this] { return literalSource.rnd(); };
};

void expectSameGrids(const modPlitar& a, const modPlitar& b, const std::string& where)
{
    for (int i = 0; i < Grid::kCells; ++i) {
        ASSERT_EQ(a.aMap.atIndex(i), b.aMap.atIndex(i)) << where << ", cell " << i;
        ASSERT_EQ(a.aIndex.atIndex(i), b.aIndex.atIndex(i)) << where << ", cell " << i;
    }
}

void expectSameAnswers(modPlitar& fast, const modPlitar& literal, const std::string& where, bool everyTile)
{
    for (int16_t n = 1; everyTile && n <= fast.nTotal; ++n) {
        int x, y, z;
        if (literal::findTile(literal, n, x, y, z)) {
            ASSERT_EQ(fast.funEnSel(n), literal::enSel(literal, n)) << where << ", tile " << n;
        }
    }
    ASSERT_EQ(fast.funPairs(), literal::pairs(literal)) << where;
}

// Tiles crowded into a random box, so that they cover and touch each other,
// sometimes against the far edges of the board.
void markRandomBoard(std::mt19937& gen, modPlitar& a, modPlitar& b)
{
    std::uniform_int_distribution<int> count(1, 72);
    const int tiles = 2 * count(gen);
    const int w = std::uniform_int_distribution<int>(4, 50)(gen);
    const int h = std::uniform_int_distribution<int>(2, 30)(gen);
    const int d = std::uniform_int_distribution<int>(1, 10)(gen);
    const int x0 = std::uniform_int_distribution<int>(1, 51 - w)(gen);
    const int y0 = std::uniform_int_distribution<int>(1, 31 - h)(gen);
    const int z0 = std::uniform_int_distribution<int>(1, 11 - d)(gen);
    int placed = 0;
    for (int guard = 0; placed < tiles && guard < 100000; ++guard) {
        const int x = x0 + std::uniform_int_distribution<int>(0, w - 1)(gen);
        const int y = y0 + std::uniform_int_distribution<int>(0, h - 1)(gen);
        const int z = z0 + std::uniform_int_distribution<int>(0, d - 1)(gen);
        if (a.aMap(x, y, z) != 0)
            continue;
        a.aMap.set(x, y, z, 1);
        b.aMap.set(x, y, z, 1);
        ++placed;
    }
    if (placed % 2 != 0) {  // a crowded box: drop the last odd one
        for (int i = 0; i < Grid::kCells; ++i)
            if (a.aMap.atIndex(i) != 0) {
                a.aMap.setIndex(i, 0);
                b.aMap.setIndex(i, 0);
                break;
            }
    }
}

// A random board dealt by both; the grids must come out the same.
void dealTwin(std::mt19937& gen, Twin& t, const std::string& where)
{
    markRandomBoard(gen, t.fast, t.literal);
    t.fast.subSet144();
    literal::set144(t.literal, t.rnd);
    ASSERT_EQ(t.fast.nTotal, t.literal.nTotal) << where;
    expectSameGrids(t.fast, t.literal, where + " dealt");
    for (int n = 1; n <= t.fast.nTotal; ++n)
        t.fast.aLoaded[n] = 1;
}

TEST(Oracle, DealsShufflesAndAnswersAgreeOnThousandsOfRandomBoards)
{
    std::mt19937 gen(20261210);
    for (unsigned board = 1; board <= 1000; ++board) {
        Twin t(board);
        const std::string where = "board " + std::to_string(board);
        dealTwin(gen, t, where);
        expectSameAnswers(t.fast, t.literal, where, true);
        t.fast.subSort();
        literal::sort(t.literal, t.rnd);
        expectSameGrids(t.fast, t.literal, where + " shuffled");
        expectSameAnswers(t.fast, t.literal, where + " shuffled", false);
    }
}

TEST(Oracle, AnswersAgreeAtEveryPositionOfGamesPlayedDown)
{
    std::mt19937 gen(7);
    long positions = 0;
    for (unsigned board = 1; board <= 40; ++board) {
        Twin t(board);
        const std::string where = "game " + std::to_string(board);
        dealTwin(gen, t, where);
        // Take off random tiles, shuffle now and then, until the board is empty.
        for (int step = 0; t.fast.funTilesLeft() > 0; ++step) {
            ++positions;
            expectSameAnswers(t.fast, t.literal, where + " step " + std::to_string(step), step % 8 == 0);
            if (std::uniform_int_distribution<int>(0, 9)(gen) == 0) {
                t.fast.subSort();
                literal::sort(t.literal, t.rnd);
                expectSameGrids(t.fast, t.literal, where + " shuffled");
                continue;
            }
            std::vector<int16_t> left;
            for (int16_t n = 1; n <= t.fast.nTotal; ++n)
                if (t.fast.aLoaded[n] == 1)
                    left.push_back(n);
            const int16_t n = left[std::uniform_int_distribution<std::size_t>(0, left.size() - 1)(gen)];
            int x, y, z;
            ASSERT_TRUE(literal::findTile(t.literal, n, x, y, z));
            t.fast.subDelCur(n);
            t.literal.aMap.set(x, y, z, 0);
            t.literal.aIndex.set(x, y, z, 0);
        }
    }
    EXPECT_GT(positions, 1500);  // the games really were played down
}

TEST(Oracle, AnswersFollowGridsWrittenBehindTheRulesBack)
{
    FakeHost host(7);
    modPlitar g(host);
    FakeHost otherHost;
    modPlitar twin(otherHost);
    auto both = [&](auto&& write) { write(g); write(twin); };
    both([](modPlitar& m) {
        for (int x = 1; x <= 13; x += 2) {
            m.aMap.set(x, 3, 1, static_cast<int16_t>(x % 4 + 1));
            m.aIndex.set(x, 3, 1, static_cast<int16_t>(x / 2 + 1));
        }
        m.nTotal = 7;
    });
    ASSERT_EQ(g.funPairs(), literal::pairs(twin));
    // a tile laid on top, a tile renumbered, a tile taken away by hand
    both([](modPlitar& m) {
        m.aMap.set(6, 4, 2, 2);
        m.aIndex.set(6, 4, 2, 8);
        m.aIndex.set(13, 3, 1, 9);
        m.aMap.set(1, 3, 1, 0);
        m.aIndex.set(1, 3, 1, 0);
    });
    EXPECT_EQ(g.funPairs(), literal::pairs(twin));
    for (int16_t n = 2; n <= 9; ++n)
        if (n != 7) {
            EXPECT_EQ(g.funEnSel(n), literal::enSel(twin, n)) << "tile " << n;
        }
    EXPECT_EXIT(g.funEnSel(7), failedExit, "Кость не найдена");  // renumbered away
    // after the rules have answered, a tile renumbered by writing aIndex alone
    both([](modPlitar& m) { m.aIndex.set(11, 3, 1, 10); });
    ASSERT_EXIT(g.funEnSel(6), failedExit, "Кость не найдена");  // its old number
    EXPECT_EQ(g.funEnSel(10), literal::enSel(twin, 10));
    EXPECT_EQ(g.funPairs(), literal::pairs(twin));
}

}  // namespace
}  // namespace plitar::testing
