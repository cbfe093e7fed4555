// The side and the cut corners of a tile picture, pixel by pixel.
//
// A picture is W x H pixels. The face is lifted d pixels up and to the right
// of the tile's foot, so the side shows as a band d pixels wide along the
// face's left edge (columns 0..d-1) and along its bottom edge (rows H-d..H-1):
//
//   d = 5 at sizes 70 and 63, 4 at 56 and 49;
//   face: columns d..W-1, rows 0..H-1-d (65x75, 58x67, 52x60, 45x52).
//
// Across the band, counting j from the face outward (j = d-1-x on the left,
// j = y-(H-d) at the bottom): j = 0 is black (the face's edge), j = d-1 is
// black (the outer edge), the d-2 pixels between are blue (3 at 70 and 63,
// 2 at 56 and 49).
//
// Bottom-left corner, the square x < d, y >= H-d: with k = y-(H-d), the
// pixels where x + k = d-1 are black, a 45-degree line from the face's
// bottom-left corner (d-1, H-d) to the picture's (0, H-1); above-left of it
// the left band goes on, below-right of it the bottom band.
//
// Top-left end of the side, rows 0..d-2: the band is cut at 45 degrees. The
// pixel with x + y = d-1 is black (the edge of the cut, running from the
// face's top-left corner down to the outer edge at row d-1), and the pixels
// with x + y < d-1 are board colour: d-1, d-2, .., 1 of them on rows 0, 1,
// .., d-2, i.e. 4, 3, 2, 1 at sizes 70 and 63 and 3, 2, 1 at 56 and 49.
//
// Bottom-right end: the same cut turned half round. With x' = W-1-x and
// y' = H-1-y, x' + y' = d-1 is black and x' + y' < d-1 is board colour, so
// the last rows H-4..H-1 (H-3..H-1 at the small sizes) end in 1, 2, 3, 4
// board-coloured pixels.
//
// On a screen with a device pixel ratio above 1 the same drawing is made in
// device pixels with every width scaled (TileShape::line for the black lines,
// the blue the rest of the depth): the black lines across the band are the
// first and last `line` pixels, the cut's edge and the 45-degree line run
// `line` pixels wide along each row, and at the bottom-left corner each pixel
// takes the colour of whichever band it lies further out in (a mitred join).
// With line = 1 every rule above comes out exactly as written.
#include "view/TileFrame.h"

#include <algorithm>
#include <cmath>

namespace plitar {

TileShape tileShape(int size)
{
    switch (size) {
    case 70: return {70, 80, 5};
    case 63: return {63, 72, 5};
    case 56: return {56, 64, 4};
    case 49: return {49, 56, 4};
    default: return {};
    }
}

TileShape tileShape(int size, double ratio)
{
    TileShape s = tileShape(size);
    if (s.width == 0 || ratio == 1.0)
        return s;
    // Halves round up, as Qt rounds logical to device positions.
    auto scaled = [ratio](int v) { return std::max(1, static_cast<int>(std::floor(v * ratio + 0.5))); };
    const int blue = scaled(s.depth - 2);
    s.width = scaled(s.width);
    s.height = scaled(s.height);
    s.line = scaled(1);
    s.depth = 2 * s.line + blue;
    return s;
}

namespace {

// Colour j pixels out from the face, across a band d pixels wide whose two
// black lines are `line` pixels wide.
QRgb across(int j, int d, int line) { return (j < line || j >= d - line) ? kSideBlack : kSideBlue; }

// The cut at the top-left end of the side, in coordinates measured from the
// picture's top-left corner; 0 when (x, y) is not part of the cut.
QRgb cut(int x, int y, int d, int line)
{
    if (y > d - 1 || x + y > d - 1)
        return 0;
    return x + y >= d - line ? kSideBlack : kBoardColour;
}

}  // namespace

QRgb sidePixel(const TileShape& s, int x, int y)
{
    const int d = s.depth, line = s.line;
    if (QRgb c = cut(x, y, d, line))
        return c;
    if (QRgb c = cut(s.width - 1 - x, s.height - 1 - y, d, line))
        return c;
    const int k = y - (s.height - d);  // row inside the bottom band, < 0 above it
    if (k < 0)
        return across(d - 1 - x, d, line);  // left band
    if (x >= d)
        return across(k, d, line);  // bottom band
    // Bottom-left corner, split by the 45-degree line: t is how much further
    // out the pixel lies in the left band than in the bottom band. The line
    // takes `line` pixels of each row around t = 0 (t = 0 alone at ratio 1).
    const int left = d - 1 - x, t = left - k;
    if (t >= -(line / 2) && t < line - line / 2)
        return kSideBlack;
    return across(std::max(left, k), d, line);
}

void paintSide(QImage& picture, const TileShape& s)
{
    // Beside the face only the left band; below it whole rows.
    for (int y = 0; y < s.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const int end = y < s.height - s.depth ? s.depth : s.width;
        for (int x = 0; x < end; ++x)
            line[x] = sidePixel(s, x, y);
    }
}

}  // namespace plitar
