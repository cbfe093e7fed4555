// Where every cell of the board stands on the screen at each tile size: the
// pixel corner of a tile picture whose origin is that cell. The same cell gets
// the same place at a given size, whatever the layout or the window size.
#pragma once

#include <cstdint>

namespace plitar {

class modPlitar;

struct SizeGeometry {
    int16_t size;    // tile size code: the picture width
    int16_t width;   // picture width and height
    int16_t height;
    int16_t dx;      // column step
    int16_t dy;      // row step
    int16_t shift;   // each layer up moves a tile this far right and up
    int16_t left0;   // left of cell (1, 1, 1)
    int16_t top0;    // top of cell (1, 1, 1)
};

// The constants of tile size 70, 63, 56 or 49; nullptr for any other code.
const SizeGeometry* geometryOf(int size);

inline int16_t cellLeft(const SizeGeometry& g, int x, int /*y*/, int z)
{
    return static_cast<int16_t>(g.left0 + g.shift * (z - 1) + g.dx * (x - 1));
}
inline int16_t cellTop(const SizeGeometry& g, int /*x*/, int y, int z)
{
    return static_cast<int16_t>(g.top0 - g.shift * (z - 1) + g.dy * (y - 1));
}

// Rewrites aLeft and aTop of every playable cell for the tile size in nSize.
// Moves no sprite: that is the repaint's work.
void subReSize(modPlitar& game);

}  // namespace plitar
