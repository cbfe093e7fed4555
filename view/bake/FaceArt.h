// Rendering the game's SVG art into images: the face symbols baked into the
// program at build time, and the window icon's PNG files.
#pragma once

#include <QImage>
#include <QSize>

class QSvgRenderer;

namespace plitar {

// The art rendered, anti-aliased, onto a fully transparent
// ARGB32_Premultiplied image of the given size, filling it. For a face this
// is its symbol layer: laid over a background colour, its soft edges blend
// into whatever lies below.
QImage renderArt(QSvgRenderer& art, QSize size);

// A premultiplied image with its colours divided back by their alpha,
// rounded to the nearest, for writing to a PNG file. Qt's own conversion
// divides by the processor's estimate of a reciprocal, which rounds some
// half-transparent pixels one step apart from one processor to another, so
// the same art would make different files on different machines.
QImage straightAlpha(const QImage& premultiplied);

}  // namespace plitar
