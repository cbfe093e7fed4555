// The 504 tile pictures, made from the built-in face art when first needed.
//
// A picture is the side and corners of its size (view/TileFrame.cpp) around
// the face rectangle. The three looks differ only inside the face:
//   normal   - the face's symbol layer (its art rendered at build time onto
//              a transparent face rectangle, view/FaceSheet.h) over pale green;
//   selected - the same layer over yellow, so that its anti-aliased
//              edges blend into the yellow rather than into green;
//   grey     - the normal picture with every face pixel halved, each channel
//              v becoming (v + 1) / 2 (pale green turns RGB(108, 117, 105),
//              white RGB(128, 128, 128)).
// The pictures of one look and size are made together, the first time one of
// them is asked for or prepare() is called for the size.
#include "view/TilePictures.h"

#include <QPainter>
#include <QResource>
#include <array>

#include "view/FaceSheet.h"
#include "view/TileFrame.h"

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

int sizeIndex(int size)
{
    for (int i = 0; i < 4; ++i)
        if (kTileSizes[i] == size)
            return i;
    return -1;
}

// The symbol layers of every face at one size, cut from the baked sheet of
// that size; empty images if the sheet is missing from the program.
std::array<QImage, kFaceCount> readSymbols(const TileShape& shape)
{
    std::array<QImage, kFaceCount> layers;
    const QSize layer = shape.face().size();
    const QByteArray bytes = QResource(faceSheetResource(shape.width)).uncompressedData();
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

}  // namespace

struct TilePictures::Impl {
    // sets[look][size index][face - 1]; a set is empty until it is made.
    std::array<std::array<std::array<QImage, kFaceCount>, 4>, kLooks> sets;
    // The symbol layers per size, kept until both looks that use them exist.
    std::array<std::array<QImage, kFaceCount>, 4> symbols;
    QImage none;

    const std::array<QImage, kFaceCount>& symbolsOf(int size)
    {
        auto& layers = symbols[sizeIndex(size)];
        if (layers[0].isNull())
            layers = readSymbols(tileShape(size));
        return layers;
    }

    std::array<QImage, kFaceCount>& set(TileLook look, int size)
    {
        const int s = sizeIndex(size);
        auto& wanted = sets[static_cast<int>(look)][s];
        if (!wanted[0].isNull())
            return wanted;
        const TileShape shape = tileShape(size);
        if (look == TileLook::Grey) {
            const auto& normal = set(TileLook::Normal, size);
            for (int f = 0; f < kFaceCount; ++f)
                wanted[f] = greyed(normal[f], shape);
            return wanted;
        }
        const QRgb background = look == TileLook::Selected ? kFaceSelected : kFaceNormal;
        const auto& layers = symbolsOf(size);
        for (int f = 0; f < kFaceCount; ++f)
            wanted[f] = composed(layers[f], shape, background);
        const int other = look == TileLook::Selected ? 0 : 1;
        if (!sets[other][s][0].isNull())
            symbols[s] = {};  // both looks made: the layers are no longer needed
        return wanted;
    }
};

TilePictures::TilePictures() : d_(new Impl)
{
    registerArt();
}

TilePictures::~TilePictures() { delete d_; }

QSize TilePictures::pictureSize(int size)
{
    const TileShape s = tileShape(size);
    return {s.width, s.height};
}

const QImage& TilePictures::picture(TileLook look, int size, int face)
{
    if (sizeIndex(size) < 0 || face < 1 || face > kFaceCount || static_cast<int>(look) >= kLooks)
        return d_->none;
    return d_->set(look, size)[face - 1];
}

void TilePictures::prepare(int size)
{
    if (sizeIndex(size) < 0)
        return;
    for (auto look : {TileLook::Normal, TileLook::Selected, TileLook::Grey})
        d_->set(look, size);
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
