// The 504 tile pictures (42 faces x normal/selected/grey x four sizes) and the
// window icon, all made from art built into the program.
//
// The face art is rendered from its SVG files at build time (view/bake/), so
// here a picture is only laid together. Pictures are made per look and size
// when first needed: all three looks of one size take about 0.7-2 ms
// (measured with bench_view_pictures), so neither start-up nor a first switch
// of the tile size keeps the player waiting.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

#include "board/Tiles.h"

namespace plitar {

class TilePictures {
public:
    TilePictures();
    ~TilePictures();
    TilePictures(const TilePictures&) = delete;
    TilePictures& operator=(const TilePictures&) = delete;

    // The picture of face 1..42 in a look at tile size 70, 63, 56 or 49:
    // an opaque 70x80, 63x72, 56x64 or 49x56 image. The reference stays valid
    // for the life of this object.
    const QImage& picture(TileLook look, int size, int face);

    // Makes sure every picture of one size is ready, so that a later switch to
    // that size does not wait for them.
    void prepare(int size);

    static QSize pictureSize(int size);

private:
    struct Impl;
    Impl* d_;
};

// The window icon: the large circle of the one of circles, at 16..256 pixels.
QIcon plitarIcon();

}  // namespace plitar
