// Seeded random event sequences against the real window. A failure names its
// seed and the shortest failing sequence, which runs again with
//   PLITAR_EVENTS_SEED=<seed> PLITAR_EVENTS_REPLAY='<events>' test_events --gtest_filter='*FromEnvironment*'
// and a long run of one seed is
//   PLITAR_EVENTS_SEED=<seed> PLITAR_EVENTS_COUNT=<events> test_events --gtest_filter='*FromEnvironment*'
#include <QAction>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

#include "EventRun.h"

namespace plitar::events {
namespace {

// What the fault-box report needs to name the failing sequence.
struct Running {
    uint32_t seed = 0;
    const std::vector<Event>* events = nullptr;
    bool shrinking = false;
} running;

void reportBox(const std::string& title, const std::string& text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "\nInternal fault box \"%s\": \"%s\"\n", title.c_str(), text.c_str());
    if (running.events) {
        const std::string seq = toText(*running.events);
        std::fprintf(stderr,
                     "Seed %u. %s\nThe box came up during the last of these %zu events, each of the shorter prefixes "
                     "having passed every check, so this is the shortest failing prefix:\n%s\n"
                     "Replay: PLITAR_EVENTS_SEED=%u PLITAR_EVENTS_REPLAY='%s' test_events "
                     "--gtest_filter='*FromEnvironment*'\n",
                     running.seed, running.shrinking ? "(While shortening an earlier failure.)" : "",
                     running.events->size(), seq.c_str(), running.seed, seq.c_str());
    }
    std::fflush(stderr);
}

// Runs `count` random events (or replays `given`) and turns a failure into a
// report that can be replayed.
void runSeed(uint32_t seed, long count, const std::vector<Event>* given = nullptr)
{
    watchForBoxes(reportBox);
    std::vector<Event> events;
    running = {seed, &events, false};
    const auto start = std::chrono::steady_clock::now();
    Outcome o;
    long done = 0;
    {
        EventRun run(seed);
        if (given) {
            for (const Event& e : *given) {
                events.push_back(e);
                if (std::string problem = run.apply(e); !problem.empty()) {
                    o = {static_cast<long>(events.size()) - 1, problem};
                    break;
                }
            }
        } else {
            events.reserve(static_cast<size_t>(count));
            o = runRandom(run, seed, count, &events);
        }
        done = static_cast<long>(events.size());
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("seed %u: %ld events in %.1f s (%.0f us each), %ld pairs removed, %ld boards emptied, %d windows\n",
                    seed, done, secs, 1e6 * secs / std::max(done, 1L), run.removals(), run.victories(),
                    run.windowsMade());
        if (!given && count >= 5000 && o.failedAt < 0) {
            int played = 0;
            for (int k = 1; k <= kLayoutCount; ++k)
                played += run.layoutsPlayed()[static_cast<size_t>(k)];
            EXPECT_EQ(played, kLayoutCount) << "seed " << seed << " did not play every layout";
        }
    }
    if (o.failedAt < 0)
        return;
    running.shrinking = true;
    const std::vector<Event> small = shrink(seed, events, 60.0);
    const Outcome again = replay(seed, small);
    running = {};
    const std::string seq = toText(small);
    ADD_FAILURE() << "Seed " << seed << ": after event " << o.failedAt + 1 << ": " << o.problem << "\n"
                  << "Shortest failing prefix: " << o.failedAt + 1 << " events; with events dropped while it still "
                  << "fails: " << small.size() << " events:\n"
                  << seq << "\nwhich fail with: " << (again.failedAt >= 0 ? again.problem : "(passes: not repeatable)")
                  << "\nReplay: PLITAR_EVENTS_SEED=" << seed << " PLITAR_EVENTS_REPLAY='" << seq
                  << "' test_events --gtest_filter='*FromEnvironment*'";
}

// A few seeds in every run, tens of thousands of events in all: about 12 s,
// and under the sanitizers about 45 s, where the same sequences run (the
// CTest timeout allows for a slower machine).
class EventSequences : public ::testing::TestWithParam<uint32_t> {};

TEST_P(EventSequences, KeepTheWindowAndTheGameInStep)
{
    runSeed(GetParam(), 10000);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventSequences, ::testing::Values(1u, 2u, 3u, 4u, 5u));

// A long run or a replay, asked for by the environment.
TEST(EventSequencesFromEnvironment, Run)
{
    const char* seed = std::getenv("PLITAR_EVENTS_SEED");
    if (!seed)
        GTEST_SKIP() << "set PLITAR_EVENTS_SEED (and PLITAR_EVENTS_COUNT or PLITAR_EVENTS_REPLAY)";
    const auto s = static_cast<uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* text = std::getenv("PLITAR_EVENTS_REPLAY")) {
        const auto events = parseEvents(text);
        ASSERT_TRUE(events) << "cannot read the events: " << text;
        runSeed(s, 0, &*events);
        return;
    }
    const char* count = std::getenv("PLITAR_EVENTS_COUNT");
    runSeed(s, count ? std::strtol(count, nullptr, 10) : 100000);
}

// The checks see a broken state: each case breaks one thing behind the
// window's back, then an event that changes nothing must report it.
TEST(EventChecks, NoticeABrokenState)
{
    struct Case {
        const char* what;
        std::function<void(frmMain&)> breakIt;
    };
    auto someTile = [](frmMain& w) { return w.board()->stack().front(); };
    const Case cases[] = {
        {"a sprite off its cell", [&](frmMain& w) { w.board()->setSpritePos(someTile(w), QPoint(1, 1)); }},
        {"a hidden sprite", [&](frmMain& w) { w.board()->hideSprite(someTile(w)); }},
        {"a sprite with the wrong look",
         [&](frmMain& w) { w.setSpritePicture(someTile(w), TileLook::Selected, w.game().nSize, 1); }},
        {"aLoaded out of step", [](frmMain& w) { w.game().aLoaded[144] = 1; }},
        {"aLoaded cleared under a tile", [&](frmMain& w) { w.game().aLoaded[static_cast<size_t>(someTile(w))] = 0; }},
        {"a stray sprite",
         [](frmMain& w) {
             w.game().aLoaded[144] = 0;
             w.board()->createSprite(144);
         }},
        {"a lost tile number",
         [](frmMain& w) {
             modPlitar& g = w.game();
             for (int i = 0; i < Grid::kCells; ++i)
                 if (g.aIndex.atIndex(i) != 0) {
                     g.aIndex.setIndex(i, 0);
                     return;
                 }
         }},
        {"a second selection", [&](frmMain& w) { w.game().nSel2 = someTile(w); }},
        {"a wrong caption", [](frmMain& w) { w.setWindowTitle("Плитар 0 / 0 / 0"); }},
        // The layouts are one group: marking another takes the mark from the current one.
        {"another layout marked",
         [](frmMain& w) { w.layoutItem(w.currentLayout() == 1 ? 2 : 1)->setChecked(true); }},
        {"a size mark off nSize", [](frmMain& w) { w.sizeItem(70)->setChecked(true); }},
        {"an odd tile count", [](frmMain& w) { w.game().nTotal = 143; }},
        {"the top sprite made again, beneath the others",
         [](frmMain& w) {
             const int n = w.board()->stack().front();
             const QPoint pos = w.board()->spritePos(n);
             const QImage* picture = w.board()->spritePicture(n);
             w.board()->destroySprite(n);
             w.board()->createSprite(n);
             w.board()->setSpritePos(n, pos);
             w.board()->setSpritePicture(n, picture);
             w.board()->showSprite(n);
         }},
    };
    for (const Case& c : cases) {
        EventRun run(7);
        ASSERT_EQ(run.apply(Event{Event::Layout, 7, 0}), "");  // fewer than 144 tiles
        c.breakIt(run.window());
        // "Набор раскладов 3" does nothing, so the check after it sees the break.
        EXPECT_NE(run.apply(Event{Event::Menu, 6, 0}), "") << c.what;
    }
}

// A fault box during a run ends the program as the fault demands, but first
// names the seed and the events that led to it.
TEST(EventChecksDeathTest, FaultBoxNamesTheSequence)
{
    auto faultAfterTwoEvents = [] {
        watchForBoxes(reportBox);
        std::vector<Event> events = *parseEvents("kPageUp c200,200");
        running = {42, &events, false};
        EventRun run(42);
        for (const Event& e : events)
            (void)run.apply(e);
        run.window().game().subDelCur(0);  // "Кость не указана"
    };
    EXPECT_EXIT(faultAfterTwoEvents(),
        ::testing::ExitedWithCode(1),
        "Internal fault box \"subDelCur\": \"Кость не указана\"(.|\n)*Seed 42(.|\n)*kPageUp c200,200");
}

// A failure is replayed from its text: it must read back as written.
TEST(EventChecks, RecordedEventsReadBack)
{
    const std::string text = "c100,100 s70 mmnuGray d5,7 kShiftPageUp g46 mmnuSort kF2 mmnuGameL41L60";
    const auto events = parseEvents(text);
    ASSERT_TRUE(events);
    EXPECT_EQ(toText(*events), text);
    for (const char* bad : {"x1", "g47", "g0", "s50", "c1", "kHome", "mmnuExit"})
        EXPECT_FALSE(parseEvents(bad)) << bad;
}

}  // namespace
}  // namespace plitar::events
