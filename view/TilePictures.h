// The 504 tile pictures (42 faces x normal/selected/grey x four sizes) and the
// window icon, all made from art built into the program.
//
// Sizes and positions are logical pixels. On a screen with a device pixel
// ratio p above 1 every picture is made for the screen's real pixels:
// round(w * p) x round(h * p) of them, marked with devicePixelRatio() p, its
// face art rendered at that size and its side drawn with every width scaled
// (view/TileFrame.h), so that one picture pixel falls on one screen pixel. At
// p = 1 the pictures are exactly the logical ones. A store holds the pictures
// of every ratio it was asked for; one ratio, the screen's, is current.
//
// The face art is rendered from its SVG files at build time (view/bake/) for
// the ratios 1, 1.5 and 2, so there a picture is only laid together; other
// ratios render the art when first needed. Pictures are made per look, size and
// ratio when first needed (bench_view_pictures measures how long it takes).
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

    // The picture of face 1..42 in a look at tile size 70, 63, 56 or 49 for
    // the current ratio: an opaque image of pictureSize(size, ratio) pixels,
    // 70x80, 63x72, 56x64 or 49x56 at ratio 1. The reference stays valid for
    // the life of this object.
    const QImage& picture(TileLook look, int size, int face);
    const QImage& picture(TileLook look, int size, int face, double ratio);

    // Makes sure every picture of one size is ready at the current ratio, so
    // that a later switch to that size does not wait for them.
    void prepare(int size);

    // The ratio the pictures are made for: the screen's, held to 1..4 (a
    // screen below 1 gets the plain pictures, one above 4 those of 4).
    void setDevicePixelRatio(double screenRatio);
    double devicePixelRatio() const;
    static double usableRatio(double screenRatio);

    // The picture showing what `picture` (one of this store's, of any ratio)
    // shows, at the current ratio; `picture` itself if it is not this store's.
    const QImage* atCurrentRatio(const QImage* picture);

    // Logical size of a tile size's pictures, and their size in pixels at a ratio.
    static QSize pictureSize(int size);
    static QSize pictureSize(int size, double ratio);

private:
    struct Impl;
    Impl* d_;
};

// The window icon: the large circle of the one of circles, at every size of
// kIconSizes, 16 to 512 pixels.
QIcon plitarIcon();

}  // namespace plitar
