// Groups whose tiles can no longer all leave in pairs, which makes the
// position lost.
//
// A pair can only come off when both its tiles are free at once. When a group
// has two tiles left, their pairing is fixed; such a pair can never come off
// if one tile lies on the other (directly or through a stack), if the
// partner closes one side of a tile and the other side must open first, or
// if a chain of fixed pairs, each waiting for the next, comes back to it. A
// group of four is lost when no split into two pairs escapes these, and a
// group with an odd number of tiles left is lost at once.
#pragma once

#include "solver/Bits.h"
#include "solver/Problem.h"

namespace plitar::solver {

bool groupDead(const Problem& p, int g, const Bits& present);

}  // namespace plitar::solver
