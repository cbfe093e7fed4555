// The 144-tile Chinese set: face codes, their groups and the matching rule.
#pragma once

#include <cstdint>

namespace plitar {

// Face codes 1..42: 1-9 circles, 10-18 bamboo, 19-27 characters, 28-31 winds
// (east, south, west, north), 32-34 dragons (red, green, white),
// 35-38 flowers, 39-42 seasons.
constexpr int kFaceCount = 42;
constexpr int kMaxTiles = 144;

constexpr bool isFlower(int f) { return f >= 35 && f <= 38; }
constexpr bool isSeason(int f) { return f >= 39 && f <= 42; }

// Equal faces match; so do any two flowers and any two seasons.
constexpr bool facesMatch(int a, int b)
{
    return a == b || (isFlower(a) && isFlower(b)) || (isSeason(a) && isSeason(b));
}

// How a tile is shown: as dealt, selected (yellow), or blocked (greyed).
enum class TileLook : uint8_t { Normal, Selected, Grey };

// The four tile sizes, named by the width of their pictures.
constexpr int kTileSizes[4] = {70, 63, 56, 49};
constexpr bool isTileSize(int s) { return s == 70 || s == 63 || s == 56 || s == 49; }

}  // namespace plitar
