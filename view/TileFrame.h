// The shape of a tile picture: the face, the raised side along its left and
// bottom edges, and the two cut corners, drawn pixel by pixel.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace plitar {

// Colours that every picture shares.
inline constexpr QRgb kBoardColour = qRgb(192, 192, 255);   // the window's background
inline constexpr QRgb kSideBlue = qRgb(63, 72, 204);
inline constexpr QRgb kSideBlack = qRgb(0, 0, 0);
inline constexpr QRgb kFaceNormal = qRgb(216, 233, 210);    // pale green
inline constexpr QRgb kFaceSelected = qRgb(255, 216, 0);    // yellow

// The measures of one tile size (70, 63, 56 or 49), in the pixels of a
// picture: logical pixels at a device pixel ratio of 1, device pixels above.
struct TileShape {
    int width = 0;   // picture width, the tile size code itself at ratio 1
    int height = 0;
    int depth = 0;   // d: how far the side shows to the left of and below the face
    int line = 1;    // width of each black line of the side (1 at ratio 1)

    // The face: columns d..width-1, rows 0..height-1-d.
    QRect face() const { return {depth, 0, width - depth, height - depth}; }
};

// The shape of a tile size; a zero shape for anything but 70, 63, 56, 49.
TileShape tileShape(int size);

// The shape of a tile size drawn for a screen of device pixel ratio `ratio`
// (>= 1): the picture is round(w * ratio) x round(h * ratio) and every width
// of the side, the black lines (1 at ratio 1) and the blue between them (3 or
// 2), becomes round(width * ratio), at least 1, halves rounded up; the side's
// depth is their sum and the face is the rest. At ratio 1 it is tileShape(size).
TileShape tileShape(int size, double ratio);

// What lies at pixel (x, y) of a picture outside the face: the board colour
// of a cut corner, or a black or blue pixel of the side. Only meaningful for
// pixels outside shape.face().
QRgb sidePixel(const TileShape& shape, int x, int y);

// Paints every pixel outside the face of an RGB32 picture of that shape.
void paintSide(QImage& picture, const TileShape& shape);

}  // namespace plitar
