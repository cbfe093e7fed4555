// Sets of tiles: a position, the tiles lying on or beside a tile, a matching
// group. The indices 0..143 fit three machine words, so a set operation is a
// few word operations.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "board/Tiles.h"

namespace plitar::solver {

using plitar::kMaxTiles;  // the largest deal, as the board has it

// Bits set in a word, by halves, nibbles and bytes: inline, since without a
// target that has the instruction std::popcount becomes a library call.
constexpr int countBits(uint64_t v)
{
    v = v - ((v >> 1) & 0x5555555555555555ULL);
    v = (v & 0x3333333333333333ULL) + ((v >> 2) & 0x3333333333333333ULL);
    v = (v + (v >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((v * 0x0101010101010101ULL) >> 56);
}

// A set of tile indices 0..143.
struct Bits {
    std::array<uint64_t, 3> w{};

    void set(int i) { w[static_cast<unsigned>(i) >> 6] |= uint64_t{1} << (i & 63); }
    void reset(int i) { w[static_cast<unsigned>(i) >> 6] &= ~(uint64_t{1} << (i & 63)); }
    bool test(int i) const { return (w[static_cast<unsigned>(i) >> 6] >> (i & 63)) & 1; }
    bool any() const { return (w[0] | w[1] | w[2]) != 0; }
    int count() const { return countBits(w[0]) + countBits(w[1]) + countBits(w[2]); }
    bool intersects(const Bits& o) const
    {
        return ((w[0] & o.w[0]) | (w[1] & o.w[1]) | (w[2] & o.w[2])) != 0;
    }
    Bits operator&(const Bits& o) const { return {{w[0] & o.w[0], w[1] & o.w[1], w[2] & o.w[2]}}; }
    Bits operator|(const Bits& o) const { return {{w[0] | o.w[0], w[1] | o.w[1], w[2] | o.w[2]}}; }
    Bits minus(const Bits& o) const { return {{w[0] & ~o.w[0], w[1] & ~o.w[1], w[2] & ~o.w[2]}}; }
    Bits& operator|=(const Bits& o)
    {
        for (int k = 0; k < 3; ++k)
            w[k] |= o.w[k];
        return *this;
    }
    friend bool operator==(const Bits&, const Bits&) = default;

    // Calls f(i) for every member, lowest index first.
    template <typename F>
    void forEach(F&& f) const
    {
        for (int k = 0; k < 3; ++k)
            for (uint64_t v = w[k]; v != 0; v &= v - 1)
                f(k * 64 + std::countr_zero(v));
    }
    int first() const
    {
        for (int k = 0; k < 3; ++k)
            if (w[k] != 0)
                return k * 64 + std::countr_zero(w[k]);
        return -1;
    }
    // The lowest two members.
    std::pair<int, int> firstTwo() const
    {
        Bits rest = *this;
        const int a = rest.first();
        rest.reset(a);
        return {a, rest.first()};
    }
};

}  // namespace plitar::solver
