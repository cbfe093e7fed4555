// The solver against the game's own rules: the fast free test and open pairs
// equal modPlitar's on random boards, hand-made boards with known answers, the
// answer of a plain exhaustive search on small random boards, winning lines
// replayed through the click rules, and figures that depend on the seed only.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <random>
#include <unordered_map>
#include <vector>

#include "board/Grid.h"
#include "board/modPlitar.h"
#include "maps/modMaps.h"
#include "solver/Lines.h"
#include "solver/LostTable.h"
#include "solver/Play.h"
#include "solver/Solver.h"
#include "solver/Splits.h"

namespace plitar::solver {
namespace {

struct Placed {
    int x, y, z, face;
};

// A board made by hand: tiles numbered backwards along the scan order as the
// dealer does, every sprite counted as shown.
class HandBoard : public ::testing::Test {
protected:
    void place(const std::vector<Placed>& tiles)
    {
        game.subClear();
        for (const Placed& t : tiles)
            game.aMap.set(t.x, t.y, t.z, static_cast<int16_t>(t.face));
        int16_t n = static_cast<int16_t>(tiles.size());
        forEachPlayableCell([&](int, int x, int y, int z) {
            if (game.aMap(x, y, z) != 0) {
                game.aIndex.set(x, y, z, n);
                game.aLoaded[static_cast<std::size_t>(n)] = 1;
                --n;
            }
        });
        game.nTotal = static_cast<int16_t>(tiles.size());
    }

    SeededHost host{7};
    modPlitar game{host};
    Solver solver{12};
};

TEST_F(HandBoard, KnownAnswers)
{
    struct Case {
        const char* name;
        std::vector<Placed> tiles;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {"empty board", {}, Outcome::Won},
        {"two-tile stack", {{3, 3, 1, 5}, {3, 3, 2, 5}}, Outcome::Lost},
        {"stack off by one cell", {{3, 3, 1, 5}, {4, 4, 2, 5}}, Outcome::Lost},
        {"two open pairs", {{1, 1, 1, 5}, {5, 1, 1, 5}, {9, 1, 1, 7}, {13, 1, 1, 7}}, Outcome::Won},
        {"flower pair and season pair", {{1, 1, 1, 35}, {5, 1, 1, 37}, {9, 1, 1, 39}, {13, 1, 1, 42}}, Outcome::Won},
        {"flower with season", {{1, 1, 1, 35}, {5, 1, 1, 39}}, Outcome::Lost},
        // Two stacks holding each other: each pair needs the other off first.
        {"crossed stacks", {{1, 1, 1, 5}, {1, 1, 2, 7}, {5, 1, 1, 7}, {5, 1, 2, 5}}, Outcome::Lost},
        // A middle tile whose partner closes one side and a third tile the other.
        {"shut in a row", {{1, 1, 1, 5}, {3, 1, 1, 5}, {5, 1, 1, 7}, {9, 1, 1, 7}}, Outcome::Won},
        {"sandwiched", {{1, 1, 1, 7}, {3, 1, 1, 5}, {5, 1, 1, 7}, {9, 1, 1, 5}}, Outcome::Won},
        {"a row of three, ends matching", {{1, 1, 1, 5}, {3, 1, 1, 7}, {5, 1, 1, 5}, {1, 5, 1, 7}}, Outcome::Won},
        {"a tile two layers up does not cover", {{3, 3, 1, 5}, {3, 3, 3, 5}}, Outcome::Won},
        {"an odd face", {{1, 1, 1, 5}, {5, 1, 1, 5}, {9, 1, 1, 5}, {13, 1, 1, 6}}, Outcome::Lost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place(c.tiles);
        const Problem p = Problem::fromBoard(game);
        const Result r = solver.solve(p);
        EXPECT_EQ(r.outcome, c.expected);
        if (r.outcome == Outcome::Won) {
            EXPECT_TRUE(replay(game, p, r));
            EXPECT_EQ(game.funTilesLeft(), 0);
        }
    }
}

// Face 5 on four tiles: one on top of a face-7 stack, two loose, one under the
// other face-7 tile. Taking the two loose fives first strands the other two:
// the top five waits for nothing, but the buried five waits for the seven on
// it, which waits for its partner under the top five. So the top five must go
// with a loose one first.
TEST_F(HandBoard, WonOnlyInTheRightOrder)
{
    place({{1, 1, 1, 7}, {1, 1, 2, 5}, {5, 1, 1, 5}, {9, 1, 1, 5}, {13, 1, 1, 5}, {13, 1, 2, 7}});
    const Problem p = Problem::fromBoard(game);
    const Result r = solver.solve(p);
    ASSERT_EQ(r.outcome, Outcome::Won);
    ASSERT_FALSE(r.moves.empty());
    const auto [a, b] = r.moves.front();
    EXPECT_TRUE(p.tile(a).z == 2 || p.tile(b).z == 2) << "the first pair takes the five on top";
    EXPECT_TRUE(replay(game, p, r));
    EXPECT_EQ(game.funTilesLeft(), 0);

    // The wrong first move, made by hand, leaves a lost position.
    place({{1, 1, 1, 7}, {1, 1, 2, 5}, {13, 1, 1, 5}, {13, 1, 2, 7}});
    EXPECT_EQ(solver.solve(Problem::fromBoard(game)).outcome, Outcome::Lost);
}

TEST_F(HandBoard, NodeLimitGivesUndecidedNotAGuess)
{
    dealGame(game, 1);
    const Result r = solver.solve(Problem::fromBoard(game), Limits{0, 1});
    if (r.outcome != Outcome::Lost) {  // a deal lost at once needs no search
        EXPECT_EQ(r.outcome, Outcome::Undecided);
    }
}

// ------------------------------------------------------ the rules, compared

// Random positions on every layout: tiles taken off at random, legal or not.
TEST(SolverRules, FreeTilesAndOpenPairsAsTheBoardSees)
{
    std::mt19937 rng(12345);
    SeededHost host(1);
    modPlitar game(host);
    for (int layout = 1; layout <= kLayoutCount; ++layout) {
        for (int round = 0; round < 3; ++round) {
            host.reseed(rng());
            dealGame(game, layout);
            while (game.funTilesLeft() > 0) {
                const Problem p = Problem::fromBoard(game);
                const Bits all = p.all();
                const Bits free = p.freeSet(all);
                for (int i = 0; i < p.size(); ++i)
                    ASSERT_EQ(free.test(i), game.funEnSel(p.tile(i).number) == 1)
                        << "layout " << layout << " tile " << p.tile(i).number;
                ASSERT_EQ(2 * static_cast<int>(p.openPairs(all).size()), game.funPairs()) << "layout " << layout;
                // Take off a few tiles anywhere, free or not.
                for (int k = 0; k < 4 && game.funTilesLeft() > 0; ++k) {
                    std::vector<int16_t> left;
                    for (int n = 1; n <= kMaxTiles; ++n)
                        if (game.aLoaded[static_cast<std::size_t>(n)] == 1)
                            left.push_back(static_cast<int16_t>(n));
                    game.subDelCur(left[rng() % left.size()]);
                }
            }
        }
    }
}

// The position after some of the tiles are gone equals a fresh reading of the
// board: the solver's own bookkeeping of free tiles is what the board says.
TEST(SolverRules, MatchClasses)
{
    EXPECT_EQ(matchClass(35), matchClass(38));
    EXPECT_NE(matchClass(38), matchClass(39));
    EXPECT_EQ(matchClass(39), matchClass(42));
    EXPECT_NE(matchClass(34), matchClass(33));
    EXPECT_EQ(matchClass(5), 4);
}

// The table of lost positions: a hit only for the very position stored under
// its key in this deal; a full set of slots gives up its oldest entry.
TEST(SolverTables, LostPositionsAreFoundOnlyAsStoredAndOnlyInTheirDeal)
{
    LostTable<Bits> table(8);
    const auto position = [](int i) {
        Bits b;
        b.set(i);
        return b;
    };
    table.newDeal();
    for (int i = 0; i < 5; ++i)
        table.store(42, position(i));  // five under one key: four slots
    EXPECT_FALSE(table.contains(42, position(0)));
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(table.contains(42, position(i))) << i;
    EXPECT_FALSE(table.contains(42, position(7))) << "same key, another position";
    table.newDeal();
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(table.contains(42, position(i))) << "a position of the deal before";
}

// ------------------------------------------------- against a plain search

// Every sequence of moves, remembering positions already seen: slow, obvious.
bool plainWon(const Problem& p, const Bits& present, std::unordered_map<std::string, bool>& seen)
{
    if (!present.any())
        return true;
    const std::string key(reinterpret_cast<const char*>(present.w.data()), sizeof present.w);
    if (const auto it = seen.find(key); it != seen.end())
        return it->second;
    bool won = false;
    for (const auto& [a, b] : p.openPairs(present)) {
        Bits next = present;
        next.reset(a);
        next.reset(b);
        if (plainWon(p, next, seen)) {
            won = true;
            break;
        }
    }
    seen.emplace(key, won);
    return won;
}

// Small random boards: tiles dropped on a 5 x 4 patch of origins, stacked up to
// three high where they land, faces from a few groups, flowers and seasons too.
// Each search alone, as well as both in turn, must answer as the plain search.
class SolverAgainstPlainSearch : public ::testing::TestWithParam<Solver::Method> {};

TEST_P(SolverAgainstPlainSearch, SmallRandomBoards)
{
    std::mt19937 rng(2026);
    Solver solver(14);
    solver.setMethod(GetParam());
    int won = 0, lost = 0;
    for (int round = 0; round < 400; ++round) {
        const int pairs = 3 + static_cast<int>(rng() % 8);  // 6..20 tiles
        std::vector<Tile> tiles;
        std::vector<int> faces;
        for (int k = 0; k < pairs; ++k) {
            const int pick = static_cast<int>(rng() % 6);
            // Four plain faces, or a flower or season pair of any two codes.
            const auto draw = [&] {
                return pick < 4 ? 1 + pick : pick == 4 ? 35 + static_cast<int>(rng() % 4) : 39 + static_cast<int>(rng() % 4);
            };
            faces.push_back(draw());
            faces.push_back(draw());
        }
        std::shuffle(faces.begin(), faces.end(), rng);
        for (int f : faces) {
            // Origins on the half-tile lattice, so tiles overlap and stagger;
            // a tile lands on whatever it overlaps, at most three high.
            for (int attempt = 0; attempt < 100; ++attempt) {
                const int x = 1 + static_cast<int>(rng() % 9), y = 1 + static_cast<int>(rng() % 5);
                int z = 1;
                for (const Tile& t : tiles)
                    if (std::abs(t.x - x) <= 1 && std::abs(t.y - y) <= 1)
                        z = std::max(z, t.z + 1);
                if (z > 3)
                    continue;
                tiles.push_back(Tile{static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z),
                                     static_cast<int16_t>(f), 0});
                break;
            }
        }
        if (tiles.size() != faces.size())
            continue;
        std::sort(tiles.begin(), tiles.end(),
                  [](const Tile& a, const Tile& b) { return std::tie(a.z, a.y, a.x) < std::tie(b.z, b.y, b.x); });
        const Problem p(tiles);
        std::unordered_map<std::string, bool> seen;
        const bool expected = plainWon(p, p.all(), seen);
        const Result r = solver.solve(p);
        ASSERT_NE(r.outcome, Outcome::Undecided);
        ASSERT_EQ(r.outcome == Outcome::Won, expected) << "round " << round;
        (expected ? won : lost)++;
        if (expected) {
            // The line is legal move by move and empties the board.
            Bits present = p.all();
            for (const auto& [a, b] : r.moves) {
                ASSERT_TRUE(p.isFree(a, present) && p.isFree(b, present));
                ASSERT_EQ(p.groupOf(a), p.groupOf(b));
                present.reset(a);
                present.reset(b);
            }
            EXPECT_FALSE(present.any());
        }
    }
    // Both answers turn up often enough to mean something.
    EXPECT_GT(won, 50);
    EXPECT_GT(lost, 50);
}

// ------------------------------------------------------------ real deals

// The smallest layouts, dealt by the game, are within reach of the plain search.
TEST_P(SolverAgainstPlainSearch, SmallLayoutsAsDealt)
{
    SeededHost host(1);
    modPlitar game(host);
    Solver solver(14);
    solver.setMethod(GetParam());
    for (int layout : {7, 8, 9}) {
        for (int k = 0; k < 15; ++k) {
            host.reseed(dealSeed(11, layout, static_cast<uint64_t>(k), 0));
            dealGame(game, layout);
            const Problem p = Problem::fromBoard(game);
            std::unordered_map<std::string, bool> seen;
            const bool expected = plainWon(p, p.all(), seen);
            ASSERT_EQ(solver.solve(p).outcome, expected ? Outcome::Won : Outcome::Lost) << "layout " << layout << " deal " << k;
            game.funSort();  // "Перемешать"
            const Problem q = Problem::fromBoard(game);
            seen.clear();
            const bool shuffled = plainWon(q, q.all(), seen);
            ASSERT_EQ(solver.solve(q).outcome, shuffled ? Outcome::Won : Outcome::Lost)
                << "layout " << layout << " deal " << k << " shuffled";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, SolverAgainstPlainSearch,
                         ::testing::Values(Solver::Method::Both, Solver::Method::Moves, Solver::Method::Partners),
                         [](const ::testing::TestParamInfo<Solver::Method>& param) {
                             switch (param.param) {
                             case Solver::Method::Moves: return std::string("Moves");
                             case Solver::Method::Partners: return std::string("Partners");
                             case Solver::Method::Both: break;
                             }
                             return std::string("Both");
                         });

// The partner search takes a split as possible without playing it when the
// position's relaxed run stays valid with the split fixed. Whenever it does,
// playing the split must agree; a wrong "holds" costs no answer, but sends
// the search down splits it could have ruled out. Where it plays the split,
// it resumes the recorded run and stops once the four tiles are off; that
// must agree with a whole run from the position, or answers would be wrong.
struct ShortcutCount {
    int claimed = 0, wrong = 0;
    int resumed = 0, resumedWrong = 0;
};

void checkShortcuts(Lines& lines, const Problem& p, const Bits& present, ShortcutCount& count)
{
    Position s = Position::start(p);
    s.present = present;
    s.free = p.freeSet(present);
    if (!lines.record(s))
        return;
    for (int g = 0; g < p.groupCount(); ++g) {
        const Bits r = present & p.groupMembers(g);
        if (r.count() != 4)
            continue;
        for (const Split& q : splitsOfFour(r)) {
            if (!splitPossible(p, q))
                continue;
            Position c = s;
            c.pair(q[0], q[1]);
            c.pair(q[2], q[3]);
            const bool whole = lines.clears(c);
            if (lines.splitHolds(q)) {
                ++count.claimed;
                count.wrong += !whole;
            }
            ++count.resumed;
            count.resumedWrong += lines.splitClears(c, q) != whole;
        }
    }
}

// Positions from the usual deal of "Черепаха", played into by random pairs.
TEST(PartnerSearchShortcut, ASplitTakenWithoutARunOrFromTheRecordedRunAgreesWithAWholeRun)
{
    SeededHost host(3);
    modPlitar game(host);
    Lines lines;
    std::mt19937 rng(5);
    ShortcutCount count;
    for (int deal = 0; deal < 60; ++deal) {
        host.reseed(dealSeed(3, 1, static_cast<uint64_t>(deal), 1));
        dealStandard(game, 1);
        const Problem p = Problem::fromBoard(game);
        lines.use(p);
        Bits present = p.all();
        for (int move = 0; move < 50; ++move) {
            checkShortcuts(lines, p, present, count);
            const auto pairs = p.openPairs(present);
            if (pairs.empty())
                break;
            const auto [a, b] = pairs[rng() % pairs.size()];
            present.reset(a);
            present.reset(b);
        }
    }
    EXPECT_GT(count.claimed, 1000);
    EXPECT_EQ(count.wrong, 0) << "of " << count.claimed;
    EXPECT_EQ(count.resumedWrong, 0) << "of " << count.resumed;
}

// Three free tiles of a group of four leave together in the relaxed game; the
// fourth, lying under one of them, must then leave alone. That has to hold
// for every group, the 65th too: a board may have that many groups.
TEST(PartnerSearchRelaxedRun, ALateGroupsLastTileLeavesAlone)
{
    std::vector<Tile> tiles;
    for (int k = 0; k < 128; ++k)  // 64 groups of two, far apart
        tiles.push_back(Tile{static_cast<int16_t>(1 + 3 * (k % 16)), static_cast<int16_t>(1 + 3 * (k / 16)), 1,
                             static_cast<int16_t>(100 + k / 2), 0});
    for (const auto& [x, z] : {std::pair{1, 1}, {5, 1}, {9, 1}, {9, 2}})  // the last on the third
        tiles.push_back(Tile{static_cast<int16_t>(x), 25, static_cast<int16_t>(z), 200, 0});
    const Problem p(tiles);
    ASSERT_EQ(p.groupCount(), 65);
    Lines lines;
    lines.use(p);
    EXPECT_TRUE(lines.clears(Position::start(p)));
}

TEST(SolverDeals, WinningLinesEmptyTheBoardThroughTheClickRules)
{
    SeededHost host(1);
    modPlitar game(host);
    Solver solver(18);
    for (Solver::Method method : {Solver::Method::Both, Solver::Method::Partners}) {
        solver.setMethod(method);
        int replayed = 0;
        for (int layout : {1, 2, 14, 15, 26}) {
            for (int k = 0; k < 6; ++k) {
                host.reseed(dealSeed(5, layout, static_cast<uint64_t>(k), 0));
                dealGame(game, layout);
                const Problem p = Problem::fromBoard(game);
                const Result r = solver.solve(p, Limits{0.5, 0});
                if (r.outcome != Outcome::Won)
                    continue;
                ASSERT_TRUE(replay(game, p, r)) << "layout " << layout << " deal " << k;
                EXPECT_EQ(game.funTilesLeft(), 0);
                ++replayed;
            }
        }
        EXPECT_GT(replayed, 10) << (method == Solver::Method::Both ? "both searches" : "partner search");
    }
}

TEST(SolverDeals, UsualDealHasFourOfEveryGroup)
{
    SeededHost host(3);
    modPlitar game(host);
    dealStandard(game, 1);
    const Problem p = Problem::fromBoard(game);
    ASSERT_EQ(p.size(), 144);
    ASSERT_EQ(p.groupCount(), 36);
    for (int g = 0; g < 36; ++g)
        EXPECT_EQ(p.groupMembers(g).count(), 4);
    EXPECT_THROW(dealStandard(game, 7), std::invalid_argument);
}

TEST(SolverDeals, SameSeedSameFiguresOnAnyThreadCount)
{
    const Limits limits{0, 5000000};  // a node limit: the same on a busy machine
    const Tally one = solveDeals(23, 40, 9, false, 1, limits);
    EXPECT_EQ(one, solveDeals(23, 40, 9, false, 2, limits));
    EXPECT_EQ(one, solveDeals(23, 40, 9, false, 3, limits));
    EXPECT_EQ(one.won + one.lost + one.undecided, 40);
    EXPECT_GT(one.won, 0);
    EXPECT_GT(one.lost, 0);

    // The seed reaches the deal.
    SeededHost host(0);
    modPlitar game(host);
    const auto faces = [&](uint64_t seed) {
        host.reseed(dealSeed(seed, 23, 0, 0));
        dealGame(game, 23);
        std::vector<int> f;
        const Problem p = Problem::fromBoard(game);
        for (int i = 0; i < p.size(); ++i)
            f.push_back(p.tile(i).face);
        return f;
    };
    EXPECT_EQ(faces(9), faces(9));
    EXPECT_NE(faces(9), faces(10));
}

TEST(SolverDeals, PlayOutEndsAndCountsShuffles)
{
    SeededHost host(1);
    modPlitar game(host);
    Solver solver(18);
    int emptied = 0;
    for (int k = 0; k < 10; ++k) {
        host.reseed(dealSeed(1, 7, static_cast<uint64_t>(k), 2));
        dealGame(game, 7);
        const PlayOut p = playOut(game, solver, Limits{5, 0});
        EXPECT_EQ(p.emptied, game.funTilesLeft() == 0);
        EXPECT_GE(p.solves, 1);
        emptied += p.emptied;
    }
    EXPECT_GT(emptied, 0);
}

}  // namespace
}  // namespace plitar::solver
