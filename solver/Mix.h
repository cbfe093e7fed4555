// SplitMix64, which spreads a number over all 64 bits: it makes the keys of
// the tables of lost positions, the noise that shakes the order of choices
// in later attempts, and the seeds of the deals.
#pragma once

#include <cstdint>

namespace plitar::solver {

// 2^64 divided by the golden ratio: steps by it visit every number once.
constexpr uint64_t kGolden = 0x9e3779b97f4a7c15ULL;

// The output function alone: every bit of z reaches every bit of the result.
constexpr uint64_t scramble(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// One step of the generator from state z: its output for the next state.
constexpr uint64_t mix(uint64_t z) { return scramble(z + kGolden); }

}  // namespace plitar::solver
