// The two lines the searches play from a position without looking back.
//
// Some tiles of a position may have a partner chosen: such a pair leaves
// once both its tiles are free. The other tiles, open ones, leave in one of
// two ways:
//  - the greedy line, a real line: an open tile that is free leaves with the
//    free open tile of its group that holds up most present tiles (the first
//    such in scan order), so that the idle ones stay for later; but with four
//    left, not one that leaves two that can never leave together. A position
//    it empties is won.
//  - the relaxed game, which every real line also plays: once two open tiles
//    of a group are free at once, every free open tile of the group leaves,
//    and from then on each of the group's open tiles leaves alone once free.
//    A position it cannot empty is lost. Taking tiles away only frees tiles,
//    so the order it plays in changes nothing.
// The partner search plays the relaxed game at every position and asks of
// the run it recorded there whether it still holds once a split of a group
// is fixed (see splitHolds and splitClears).
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "solver/Bits.h"
#include "solver/Problem.h"
#include "solver/Splits.h"

namespace plitar::solver {

// A position with some partners chosen.
struct Position {
    Bits present, free;
    Bits fixed;                              // tiles whose partner is chosen
    std::array<int16_t, kMaxTiles> partner;  // valid for fixed tiles

    // The whole board of `p`, no partner chosen.
    static Position start(const Problem& p)
    {
        Position s;
        s.present = p.all();
        s.free = p.freeSet(s.present);
        s.partner.fill(-1);
        return s;
    }
    void pair(int a, int b)
    {
        partner[static_cast<std::size_t>(a)] = static_cast<int16_t>(b);
        partner[static_cast<std::size_t>(b)] = static_cast<int16_t>(a);
        fixed.set(a);
        fixed.set(b);
    }
};

class Lines {
public:
    void use(const Problem& problem) { p_ = &problem; }

    // The greedy line from s; true when it empties the board. The pairs it
    // took are in line() either way.
    bool greedy(const Position& s);
    // The same from a position with no partner chosen.
    bool greedy(const Bits& present, const Bits& free);
    const std::vector<std::pair<int, int>>& line() const { return line_; }

    // Whether the relaxed game empties the board from s.
    bool clears(const Position& s);
    // The same, recorded for splitHolds and splitClears.
    bool record(const Position& s);
    // Tiles the last run left on the board, counted only when asked: the
    // move search plays a greedy line at every position and never asks.
    int left() const { return leftOver_.count(); }

    // Whether the recorded run stays a run of the relaxed game once the pairs
    // of q are fixed. Cheap, and sure when it says yes; a no means only that
    // splitClears must tell.
    bool splitHolds(const Split& q) const;
    // Whether the relaxed game empties the board from c, the recorded
    // position with the split q fixed: the recorded run replayed as far as it
    // stays valid, and played on from there.
    bool splitClears(const Position& c, const Split& q);

private:
    // Where a relaxed run resumes the recorded one: just before its removal
    // `from` (0: at the start), with the tiles `off` taken off first. It may
    // stop with success once the tiles `enough` are all off the board: the
    // caller knows that the recorded run goes on from there.
    struct Resume {
        int from = 0;
        Bits off, enough;
    };
    template <bool Greedy, bool Record, bool Partnered = true>
    bool run(const Bits& present, const Bits& free, const Bits& fixed, const int16_t* partner, const Resume& resume);
    template <bool Greedy, bool Record>
    bool run(const Position& s, const Resume& resume = {})
    {
        return run<Greedy, Record>(s.present, s.free, s.fixed, s.partner.data(), resume);
    }
    void resumeRecorded(const Resume& resume, Bits& present, Bits& free, Bits& gone) const;
    int greedyMate(int t, const Bits& rest, const Bits& free, const Bits& present) const;

    const Problem* p_ = nullptr;
    std::vector<std::pair<int, int>> line_;  // the last greedy line
    Bits leftOver_;
    // The last recorded run: for each tile, the removal after which it came
    // free (0: free from the start) and the removal that took it; the tiles
    // present and free just before each removal; the removal by which each
    // group first lost an open tile (0: none).
    std::array<int16_t, kMaxTiles> freeAt_{}, leftAt_{};
    std::array<Bits, kMaxTiles + 1> snapPresent_{}, snapFree_{};
    std::array<int16_t, kMaxTiles> goneAt_{};
};

}  // namespace plitar::solver
