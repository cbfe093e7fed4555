// The moves both searches make without a choice, by one group at a time.
//
// Taking tiles away only ever frees tiles, so a tile that is free stays
// free, and a free tile that no present tile depends on (nothing lies on it
// or touches it from the side in a way that counts: call it idle) stays idle
// and never hinders anything. For one matching group with tiles R still to
// pair, free tiles F, the others B = R \ F, and idle free tiles I: if
// |I| >= |B|, keep |B| of the idle tiles and take all the other free tiles of
// the group off, pairing them as they come. Any winning line can be rewritten
// to do that first: the tiles taken off early are gone sooner (never a
// hindrance), each tile of B is paired, when the line takes it, with a kept
// idle tile instead of its partner, and idle tiles left over are paired with
// each other at the end. With B empty this is the plain case "every
// remaining tile of the group is free: take them all".
#pragma once

#include "solver/Bits.h"
#include "solver/Problem.h"

namespace plitar::solver {

// The free tiles of `pool` (one group's tiles still to pair) that may leave
// now, as above, or none. Kept are the first idle tiles in scan order.
inline Bits leaveWithoutChoice(const Problem& p, const Bits& pool, const Bits& free, const Bits& present)
{
    const Bits f = pool & free;
    const int fc = f.count();
    if (fc < 2)
        return {};  // most groups, told before the group is counted
    const int bc = pool.count() - fc;
    if (fc - bc < 2)
        return {};
    Bits keep;
    int kept = 0;
    f.forEach([&](int i) {
        if (kept < bc && !p.dependents(i).intersects(present)) {
            keep.set(i);
            ++kept;
        }
    });
    if (kept < bc)
        return {};
    return f.minus(keep);
}

// Calls take(a, b) for the tiles two by two in scan order; an odd one out
// stays.
template <typename Take>
void inTwos(const Bits& tiles, Take&& take)
{
    int pending = -1;
    tiles.forEach([&](int i) {
        if (pending < 0) {
            pending = i;
        } else {
            take(pending, i);
            pending = -1;
        }
    });
}

}  // namespace plitar::solver
