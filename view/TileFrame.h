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

// The measures of one tile size (70, 63, 56 or 49).
struct TileShape {
    int width = 0;   // picture width, the tile size code itself
    int height = 0;
    int depth = 0;   // d: how far the side shows to the left of and below the face

    // The face: columns d..width-1, rows 0..height-1-d.
    QRect face() const { return {depth, 0, width - depth, height - depth}; }
};

// The shape of a tile size; a zero shape for anything but 70, 63, 56, 49.
TileShape tileShape(int size);

// What lies at pixel (x, y) of a picture outside the face: the board colour
// of a cut corner, or a black or blue pixel of the side. Only meaningful for
// pixels outside shape.face().
QRgb sidePixel(const TileShape& shape, int x, int y);

// Paints every pixel outside the face of an RGB32 picture of that shape.
void paintSide(QImage& picture, const TileShape& shape);

}  // namespace plitar
