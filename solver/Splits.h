// A group of four tiles leaves as two pairs, split in one of three ways; a
// larger pool is split one pair at a time.
#pragma once

#include <array>

#include "solver/Bits.h"
#include "solver/Problem.h"

namespace plitar::solver {

// Two pairs: q[0] with q[1], q[2] with q[3]; q[2] and q[3] are -1 when only
// the first pair is chosen.
using Split = std::array<int, 4>;

// The three splits of four tiles, lowest first in each pair.
inline std::array<Split, 3> splitsOfFour(const Bits& four)
{
    int t[4];
    int k = 0;
    four.forEach([&](int i) { t[k++] = i; });
    return {{{t[0], t[1], t[2], t[3]}, {t[0], t[2], t[1], t[3]}, {t[0], t[3], t[1], t[2]}}};
}

// Whether no pair of the split is one that can never leave together.
inline bool splitPossible(const Problem& p, const Split& q)
{
    return !p.pairDead(q[0], q[1]) && (q[2] < 0 || !p.pairDead(q[2], q[3]));
}

}  // namespace plitar::solver
