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

}  // namespace plitar
