// The 504 tile pictures, made from the built-in face art when first needed,
// for each device pixel ratio the screen asks for.
//
// A picture is the side and corners of its size (view/TileFrame.cpp) around
// the face rectangle, both measured in the picture's own pixels (device
// pixels above ratio 1). The three looks differ only inside the face:
//   normal   - the face's symbol layer (its art rendered at build time onto
//              a transparent face rectangle, view/FaceSheet.h) over pale green;
//   selected - the same layer over yellow, so that its anti-aliased
//              edges blend into the yellow rather than into green;
//   grey     - the normal picture with every face pixel halved, each channel
//              v becoming (v + 1) / 2 (pale green turns RGB(108, 117, 105),
//              white RGB(128, 128, 128)); above ratio 1 every device pixel.
// The pictures of one look, size and ratio are made together, the first time
// one of them is asked for or prepare() is called for the size. The symbol
// layers come from the sheets baked at build time for ratios 1 and 2, and are
// rendered from the built-in SVG art for any other ratio.
#include "view/TilePictures.h"

#include <QPainter>
#include <QResource>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "view/FaceSheet.h"
#include "view/TileFrame.h"
#include "view/bake/FaceArt.h"

// The art lives in a static library, so its resources must be registered by
// hand before first use (the linker would drop an unreferenced initialiser).
static void registerArt()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(plitar);
        Q_INIT_RESOURCE(plitar_faces);
        return true;
    }();
    (void)done;
}

namespace plitar {

namespace {

constexpr int kLooks = 3;
constexpr double kMaxRatio = 4;

int sizeIndex(int size)
{
    for (int i = 0; i < 4; ++i)
        if (kTileSizes[i] == size)
            return i;
    return -1;
}

using Layers = std::array<QImage, kFaceCount>;

// The symbol layers of every face at one size and baked ratio, cut from the
// baked sheet; empty images if the sheet is missing from the program.
Layers readSymbols(const TileShape& shape, int size, int ratio)
{
    Layers layers;
    const QSize layer = shape.face().size();
    const QByteArray bytes = QResource(faceSheetResource(size, ratio)).uncompressedData();
    const QImage sheet = sheetOver(bytes, sheetSize(layer, kFaceCount));
    if (sheet.isNull())
        return layers;
    for (int f = 1; f <= kFaceCount; ++f)
        layers[f - 1] = sheet.copy(layerInSheet(layer, f));
    return layers;
}

// A picture of one look: the side, the face background and the symbols over it.
QImage composed(const QImage& symbols, const TileShape& shape, QRgb background)
{
    QImage picture(shape.width, shape.height, QImage::Format_RGB32);
    picture.fill(background);
    paintSide(picture, shape);
    QPainter p(&picture);
    p.drawImage(shape.face().topLeft(), symbols);
    return picture;
}

// The grey look of a normal picture: every face pixel halved, the side kept.
QImage greyed(const QImage& normal, const TileShape& shape)
{
    QImage grey = normal.copy();
    const QRect face = shape.face();
    for (int y = face.top(); y <= face.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = face.left(); x <= face.right(); ++x) {
            const QRgb v = line[x];
            line[x] = qRgb((qRed(v) + 1) / 2, (qGreen(v) + 1) / 2, (qBlue(v) + 1) / 2);
        }
    }
    return grey;
}

// The pictures of one device pixel ratio.
struct RatioSets {
    double ratio = 1;
    // sets[look][size index][face - 1]; a set is empty until it is made.
    std::array<std::array<Layers, 4>, kLooks> sets;
    // The symbol layers per size, kept until both looks that use them exist.
    std::array<Layers, 4> symbols;
};

}  // namespace

struct TilePictures::Impl {
    // Every ratio asked for so far; pictures of a ratio stay while the store
    // lives, so a sprite never points at a freed picture.
    std::vector<std::unique_ptr<RatioSets>> ratios;
    RatioSets* current = nullptr;
    // The face art, read when a ratio without baked sheets first needs it.
    std::vector<std::unique_ptr<QSvgRenderer>> art;
    QImage none;

    RatioSets& at(double ratio)
    {
        for (auto& r : ratios)
            if (r->ratio == ratio)
                return *r;
        ratios.push_back(std::make_unique<RatioSets>());
        ratios.back()->ratio = ratio;
        return *ratios.back();
    }

    Layers rendered(const TileShape& shape)
    {
        if (art.empty())
            for (int f = 1; f <= kFaceCount; ++f)
                art.push_back(std::make_unique<QSvgRenderer>(faceArtResource(f)));
        Layers layers;
        for (int f = 0; f < kFaceCount; ++f)
            layers[f] = renderArt(*art[f], shape.face().size());
        return layers;
    }

    const Layers& symbolsOf(RatioSets& r, int size)
    {
        auto& layers = r.symbols[sizeIndex(size)];
        if (!layers[0].isNull())
            return layers;
        const TileShape shape = tileShape(size, r.ratio);
        const auto baked = std::find(std::begin(kBakedRatios), std::end(kBakedRatios), r.ratio);
        layers = baked != std::end(kBakedRatios) ? readSymbols(shape, size, *baked) : rendered(shape);
        return layers;
    }

    Layers& set(RatioSets& r, TileLook look, int size)
    {
        const int s = sizeIndex(size);
        auto& wanted = r.sets[static_cast<int>(look)][s];
        if (!wanted[0].isNull())
            return wanted;
        const TileShape shape = tileShape(size, r.ratio);
        if (look == TileLook::Grey) {
            const auto& normal = set(r, TileLook::Normal, size);
            for (int f = 0; f < kFaceCount; ++f)
                wanted[f] = greyed(normal[f], shape);  // the copy keeps the ratio
            return wanted;
        }
        const QRgb background = look == TileLook::Selected ? kFaceSelected : kFaceNormal;
        const auto& layers = symbolsOf(r, size);
        for (int f = 0; f < kFaceCount; ++f) {
            wanted[f] = composed(layers[f], shape, background);
            if (r.ratio != 1)
                wanted[f].setDevicePixelRatio(r.ratio);
        }
        const int other = look == TileLook::Selected ? 0 : 1;
        if (!r.sets[other][s][0].isNull())
            r.symbols[s] = {};  // both looks made: the layers are no longer needed
        return wanted;
    }
};

TilePictures::TilePictures() : d_(new Impl)
{
    registerArt();
    d_->current = &d_->at(1);
}

TilePictures::~TilePictures() { delete d_; }

QSize TilePictures::pictureSize(int size)
{
    const TileShape s = tileShape(size);
    return {s.width, s.height};
}

QSize TilePictures::pictureSize(int size, double ratio)
{
    const TileShape s = tileShape(size, usableRatio(ratio));
    return {s.width, s.height};
}

double TilePictures::usableRatio(double screenRatio)
{
    // Also a NaN ends up as 1.
    return screenRatio > 1 ? std::min(screenRatio, kMaxRatio) : 1.0;
}

void TilePictures::setDevicePixelRatio(double screenRatio) { d_->current = &d_->at(usableRatio(screenRatio)); }

double TilePictures::devicePixelRatio() const { return d_->current->ratio; }

const QImage& TilePictures::picture(TileLook look, int size, int face)
{
    if (sizeIndex(size) < 0 || face < 1 || face > kFaceCount || static_cast<int>(look) >= kLooks)
        return d_->none;
    return d_->set(*d_->current, look, size)[face - 1];
}

const QImage& TilePictures::picture(TileLook look, int size, int face, double ratio)
{
    if (sizeIndex(size) < 0 || face < 1 || face > kFaceCount || static_cast<int>(look) >= kLooks)
        return d_->none;
    return d_->set(d_->at(usableRatio(ratio)), look, size)[face - 1];
}

void TilePictures::prepare(int size)
{
    if (sizeIndex(size) < 0)
        return;
    for (auto look : {TileLook::Normal, TileLook::Selected, TileLook::Grey})
        d_->set(*d_->current, look, size);
}

const QImage* TilePictures::atCurrentRatio(const QImage* picture)
{
    const std::less<const QImage*> before;
    for (const auto& r : d_->ratios)
        for (int look = 0; look < kLooks; ++look)
            for (int s = 0; s < 4; ++s) {
                const Layers& set = r->sets[look][s];
                if (before(picture, set.data()) || !before(picture, set.data() + kFaceCount))
                    continue;
                const auto face = picture - set.data();
                return &d_->set(*d_->current, static_cast<TileLook>(look), kTileSizes[s])[static_cast<size_t>(face)];
            }
    return picture;
}

// The icon from its PNG files, the same as installed for the desktop's icon
// theme (Qt 6.4 reads each file as it is added; on X11 the window hands every
// size to the window manager when it is shown anyway).
QIcon plitarIcon()
{
    registerArt();
    QIcon icon;
    for (int px : {16, 24, 32, 48, 64, 128, 256, 512})
        icon.addFile(QStringLiteral(":/plitar/icons/%1.png").arg(px), QSize(px, px));
    return icon;
}

}  // namespace plitar
