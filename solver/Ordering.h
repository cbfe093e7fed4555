// The order in which the searches try their choices: the score of taking a
// pair off, the noise that shakes it in later attempts, and a sort for the
// short lists of choices.
#pragma once

#include <algorithm>
#include <cstdint>

#include "solver/Bits.h"
#include "solver/Mix.h"
#include "solver/Problem.h"

namespace plitar::solver {

// A stable sort for the few entries of a list of choices: unlike
// std::stable_sort it asks for no buffer on every call.
template <typename It, typename Less>
void sortFew(It first, It last, Less less)
{
    for (It i = first; i != last; ++i)
        for (It j = i; j != first && less(*j, *(j - 1)); --j)
            std::iter_swap(j, j - 1);
}

// How promising it is to take the free tiles a and b of one group off
// together, `pool` being the tiles of the group still to pair (a and b among
// them): most for the tiles the move frees, then for height, since high tiles
// hold up others; less for every tile the group leaves behind that still
// waits for others to go, since the more lies on it, the later it comes free.
inline int pairScore(const Problem& p, int a, int b, const Bits& pool, const Bits& present, const Bits& free)
{
    Bits after = present;
    after.reset(a);
    after.reset(b);
    int freed = 0;
    ((p.dependents(a) | p.dependents(b)) & after).minus(free).forEach([&](int j) {
        if (p.isFree(j, after))
            ++freed;
    });
    int score = freed * 16 + p.tile(a).z + p.tile(b).z;
    Bits rest = pool;
    rest.reset(a);
    rest.reset(b);
    rest.forEach([&](int x) { score -= 4 * (p.mustGoFirst(x) & after).count(); });
    return score;
}

// Noise 0..range-1 added to a pair's score in an attempt with the seed
// `noise`, the same for the same pair in the same position.
inline int shake(uint64_t noise, uint64_t positionKey, int a, int b, int range)
{
    const uint64_t h = noise ^ positionKey ^ (static_cast<uint64_t>(a) << 8 | static_cast<uint64_t>(b));
    return static_cast<int>(mix(h) % static_cast<uint64_t>(range));
}

}  // namespace plitar::solver
