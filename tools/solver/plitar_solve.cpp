// Deals boards with the game's own dealer (or the usual deal) and solves them.
//
//   plitar_solve --layout N|all --deals K [--seed S] [--standard] [--threads T] [--limit SECONDS]
//     one line per layout: layout N deals K won W lost L undecided U ms_per_deal X
//   --limit SECONDS (default 10) and --nodes N (default none) bound each solver
//   run; a run that reaches either counts as undecided. A node limit gives the
//   same figures on a busy machine; a time limit does not.
//   plitar_solve --table [--layout N|all] [--deals K] [--games G] [--seed S] [--threads T] [--limit SECONDS] [--rows-only]
//     the rows of docs/layouts.md: won as dealt, won after one shuffle, the
//     play-out, the usual deal for 144-tile layouts, each with its 95 % interval
//
// Every deal has its own seed, made from the run's seed, the layout and the
// deal's place in the run, so the figures do not depend on the thread count.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/modPlitar.h"
#include "maps/modMaps.h"
#include "solver/Play.h"
#include "solver/Solver.h"

using namespace plitar;
using namespace plitar::solver;

namespace {

struct Options {
    int layout = 0;  // 0: all
    bool layoutGiven = false;
    long long deals = -1;
    long long games = 2000;
    uint64_t seed = 1;
    bool standard = false;
    bool table = false;
    bool header = true;
    int threads = 1;
    double limit = 10.0;
    unsigned long long nodes = 0;
};

[[noreturn]] void usage(const std::string& why)
{
    std::fprintf(stderr,
                 "plitar_solve: %s\n"
                 "usage: plitar_solve --layout N|all --deals K [--seed S] [--standard] [--threads T] [--limit SECONDS] [--nodes N]\n"
                 "       plitar_solve --table [--layout N|all] [--deals K] [--games G] [--seed S] [--threads T]"
                 " [--limit SECONDS] [--nodes N] [--rows-only]\n",
                 why.c_str());
    std::exit(2);
}

bool parseCount(const char* s, long long lo, long long hi, long long& out)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s, &end, 10);
    if (errno != 0 || end == s || *end != '\0' || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

Options parse(int argc, char** argv)
{
    Options o;
    bool dealsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> const char* {
            if (i + 1 >= argc)
                usage(a + " needs a value");
            return argv[++i];
        };
        long long v = 0;
        if (a == "--layout") {
            const char* s = value();
            o.layoutGiven = true;
            if (std::strcmp(s, "all") == 0)
                o.layout = 0;
            else if (parseCount(s, 1, kLayoutCount, v))
                o.layout = static_cast<int>(v);
            else
                usage(std::string("no layout ") + s + " (1.." + std::to_string(kLayoutCount) + " or all)");
        } else if (a == "--deals") {
            if (!parseCount(value(), 1, 1000000000LL, v))
                usage("--deals wants a count from 1");
            o.deals = v;
            dealsGiven = true;
        } else if (a == "--games") {
            if (!parseCount(value(), 1, 1000000000LL, v))
                usage("--games wants a count from 1");
            o.games = v;
        } else if (a == "--seed") {
            const char* s = value();
            char* end = nullptr;
            errno = 0;
            const unsigned long long u = std::strtoull(s, &end, 10);
            if (errno != 0 || end == s || *end != '\0' || s[0] == '-')
                usage("--seed wants a non-negative number");
            o.seed = u;
        } else if (a == "--threads") {
            if (!parseCount(value(), 1, 256, v))
                usage("--threads wants 1..256");
            o.threads = static_cast<int>(v);
        } else if (a == "--limit") {
            const char* s = value();
            char* end = nullptr;
            const double d = std::strtod(s, &end);
            if (end == s || *end != '\0' || !(d >= 0) || d > 1e6)
                usage("--limit wants seconds (0: none)");
            o.limit = d;
        } else if (a == "--nodes") {
            if (!parseCount(value(), 0, 1000000000000LL, v))
                usage("--nodes wants a count (0: none)");
            o.nodes = static_cast<unsigned long long>(v);
        } else if (a == "--standard") {
            o.standard = true;
        } else if (a == "--table") {
            o.table = true;
        } else if (a == "--rows-only") {
            o.header = false;
        } else {
            usage("unknown argument " + a);
        }
    }
    if (!o.layoutGiven && !o.table)
        usage("--layout is needed");
    if (!dealsGiven) {
        if (!o.table)
            usage("--deals is needed");
        o.deals = 20000;
    }
    return o;
}

struct Count {
    std::atomic<long long> won{0}, lost{0}, undecided{0};
    void add(Outcome o) { (o == Outcome::Won ? won : o == Outcome::Lost ? lost : undecided).fetch_add(1); }
};

double secondsSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Wilson score interval at 95 %.
std::string share(long long hits, long long n)
{
    if (n == 0)
        return "–";
    const double z = 1.959964, p = static_cast<double>(hits) / static_cast<double>(n), nn = static_cast<double>(n);
    const double centre = (p + z * z / (2 * nn)) / (1 + z * z / nn);
    const double half = z * std::sqrt(p * (1 - p) / nn + z * z / (4 * nn * nn)) / (1 + z * z / nn);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.2f (%.2f–%.2f)", 100 * p, 100 * (centre - half), 100 * (centre + half));
    return buf;
}

int runCounts(const Options& o)
{
    const int first = o.layout == 0 ? 1 : o.layout, last = o.layout == 0 ? kLayoutCount : o.layout;
    for (int layout = first; layout <= last; ++layout) {
        const LayoutRecord& rec = layoutByNumber(layout);
        if (o.standard && rec.tiles != 144) {
            std::fprintf(stderr, "plitar_solve: --standard needs a 144-tile layout; layout %d has %d tiles\n", layout,
                         rec.tiles);
            return 1;
        }
    }
    const Limits limits{o.limit, o.nodes};
    for (int layout = first; layout <= last; ++layout) {
        const auto t0 = std::chrono::steady_clock::now();
        // Every thousand deals, the figures so far on the error stream.
        const Tally t = solveDeals(layout, o.deals, o.seed, o.standard, o.threads, limits, [&](const Tally& s) {
            std::fprintf(stderr, "layout %d so far won %lld lost %lld undecided %lld seconds %.0f\n", layout, s.won, s.lost,
                         s.undecided, secondsSince(t0));
        });
        const double ms = secondsSince(t0) * 1000.0 / static_cast<double>(o.deals);
        std::printf("layout %d deals %lld won %lld lost %lld undecided %lld ms_per_deal %.3f\n", layout, o.deals, t.won,
                    t.lost, t.undecided, ms);
        std::fflush(stdout);
    }
    return 0;
}

int runTable(const Options& o, Workers& workers)
{
    const int first = o.layout == 0 ? 1 : o.layout, last = o.layout == 0 ? kLayoutCount : o.layout;
    const Limits limits{o.limit, o.nodes};
    if (o.header) {
        std::printf("| # | layout | tiles | deals | won as dealt, %% | won after one shuffle, %% | games | "
                    "play-out emptied, %% | mean shuffles | usual deal won, %% | undecided | seconds |\n");
        std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    }
    std::fflush(stdout);
    for (int layout = first; layout <= last; ++layout) {
        const LayoutRecord& rec = layoutByNumber(layout);
        const auto t0 = std::chrono::steady_clock::now();
        Count dealt, shuffled, standard;
        workers.run(o.deals, [&](long long k, SeededHost& host, modPlitar& game, Solver& solver) {
            host.reseed(dealSeed(o.seed, layout, static_cast<uint64_t>(k), 0));
            dealGame(game, layout);
            dealt.add(solver.solve(Problem::fromBoard(game), limits).outcome);
            game.funSort();  // "Перемешать"
            shuffled.add(solver.solve(Problem::fromBoard(game), limits).outcome);
        });
        std::atomic<long long> emptied{0}, shuffles{0}, undecidedPlay{0};
        workers.run(o.games, [&](long long k, SeededHost& host, modPlitar& game, Solver& solver) {
            host.reseed(dealSeed(o.seed, layout, static_cast<uint64_t>(k), 2));
            dealGame(game, layout);
            const PlayOut p = playOut(game, solver, limits);
            if (p.emptied) {
                emptied.fetch_add(1);
                shuffles.fetch_add(p.shuffles);
            }
            undecidedPlay.fetch_add(p.undecided);
        });
        if (rec.tiles == 144) {
            workers.run(o.deals, [&](long long k, SeededHost& host, modPlitar& game, Solver& solver) {
                host.reseed(dealSeed(o.seed, layout, static_cast<uint64_t>(k), 1));
                dealStandard(game, layout);
                standard.add(solver.solve(Problem::fromBoard(game), limits).outcome);
            });
        }
        const long long undecided =
            dealt.undecided.load() + shuffled.undecided.load() + standard.undecided.load() + undecidedPlay.load();
        char meanShuffles[32] = "–";
        if (emptied.load() > 0)
            std::snprintf(meanShuffles, sizeof meanShuffles, "%.2f",
                          static_cast<double>(shuffles.load()) / static_cast<double>(emptied.load()));
        std::printf("| %d | %s | %d | %lld | %s | %s | %lld | %s | %s | %s | %lld | %.0f |\n", layout,
                    std::string(rec.caption).c_str(), rec.tiles, o.deals, share(dealt.won, o.deals).c_str(),
                    share(shuffled.won, o.deals).c_str(), o.games, share(emptied, o.games).c_str(), meanShuffles,
                    rec.tiles == 144 ? share(standard.won, o.deals).c_str() : "–", undecided, secondsSince(t0));
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options o = parse(argc, argv);
    try {
        if (!o.table)
            return runCounts(o);
        Workers workers(o.threads);
        return runTable(o, workers);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plitar_solve: %s\n", e.what());
        return 1;
    }
}
