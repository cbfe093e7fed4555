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
// layers come from the sheets baked at build time for ratios 1, 1.5 and 2,
// and are rendered from the built-in SVG art for any other ratio.
#include "view/TilePictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "view/FaceSheet.h"
#include "view/TileFrame.h"
#include "view/bake/FaceArt.h"

// The art lives in a static library, so its resources must be registered by
// hand before first use (the linker would drop an unreferenced initialiser).
static void registerArt()
{
    static const bool done = [] {
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

using Set = std::array<QImage, kFaceCount>;

// The symbol layers of the 42 faces at one size and ratio, side by side in
// one sheet laid out as view/FaceSheet.h says. A baked sheet is used where
// the program holds it; `bytes` keeps rendered pixels alive.
struct Symbols {
    QByteArray bytes;
    QImage sheet;
    QSize layer;
    bool empty() const { return sheet.isNull(); }
};

// A baked sheet; empty if the program lacks it.
Symbols readSymbols(const TileShape& shape, int size, double ratio)
{
    Symbols s;
    s.layer = shape.face().size();
    s.bytes = bakedSheet(size, ratio);
    s.sheet = sheetOver(s.bytes, sheetSize(s.layer, kFaceCount));
    return s;
}

// The frame of a look: the side drawn around a face of its background colour.
QImage framed(const TileShape& shape, QRgb background)
{
    QImage picture(shape.width, shape.height, QImage::Format_RGB32);
    picture.fill(background);
    paintSide(picture, shape);
    return picture;
}

// The memory of the 126 pictures of one size at one ratio, in one block.
// Fresh memory costs a page fault per 4 KB page when first written, which on
// a virtual machine takes several microseconds each: the 7 MB of pictures of
// one size at ratio 2 cost more in page faults than in drawing. The block is
// therefore aligned to, and asks the kernel for, 2 MB pages where it has them.
class PictureBlock {
public:
    explicit PictureBlock(size_t bytes)
    {
        constexpr size_t kHugePage = size_t(2) << 20;
        size_ = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (posix_memalign(&data_, kHugePage, size_) != 0)
            data_ = nullptr;
#ifdef MADV_HUGEPAGE
        else
            madvise(data_, size_, MADV_HUGEPAGE);
#endif
    }
    ~PictureBlock() { std::free(data_); }
    PictureBlock(const PictureBlock&) = delete;
    PictureBlock& operator=(const PictureBlock&) = delete;
    uchar* at(size_t offset) const { return data_ ? static_cast<uchar*>(data_) + offset : nullptr; }

private:
    void* data_ = nullptr;
    size_t size_ = 0;
};

// An RGB32 picture of the shape whose pixels live in a block; every copy of
// the image keeps the block alive. A plain image if the block has no memory.
QImage pictureIn(const std::shared_ptr<PictureBlock>& block, size_t offset, const TileShape& shape)
{
    uchar* pixels = block->at(offset);
    if (!pixels)
        return QImage(shape.width, shape.height, QImage::Format_RGB32);
    auto* owner = new std::shared_ptr<PictureBlock>(block);
    return QImage(
        pixels, shape.width, shape.height, qsizetype(shape.width) * 4, QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::shared_ptr<PictureBlock>*>(info); }, owner);
}

void copyPixels(const QImage& from, QImage& to)
{
    const size_t row = size_t(from.width()) * 4;
    if (from.bytesPerLine() == qsizetype(row) && to.bytesPerLine() == qsizetype(row)) {
        std::memcpy(to.bits(), from.constBits(), row * size_t(from.height()));  // rows without gaps: one copy
        return;
    }
    for (int y = 0; y < from.height(); ++y)
        std::memcpy(to.scanLine(y), from.constScanLine(y), size_t(from.width()) * 4);
}

// A picture of one look: its frame with the face's symbols laid over the face.
void compose(QImage& picture, const QImage& frame, const Symbols& symbols, const TileShape& shape, int face)
{
    copyPixels(frame, picture);
    if (symbols.empty())
        return;
    QPainter p(&picture);
    p.drawImage(shape.face().topLeft(), symbols.sheet, layerInSheet(symbols.layer, face));
}

// The grey look of a normal picture: every face pixel halved, the side kept.
// (v + 1) / 2 of each channel is v / 2 plus its lowest bit; no channel
// carries into the next, so two pixels are halved at once in one 64-bit word.
void grey(QImage& picture, const QImage& normal, const TileShape& shape)
{
    copyPixels(normal, picture);
    const QRect face = shape.face();
    auto halve = [](uint64_t v) {
        return 0xff000000ff000000u | (((v >> 1) & 0x007f7f7f007f7f7fu) + (v & 0x0001010100010101u));
    };
    for (int y = face.top(); y <= face.bottom(); ++y) {
        uchar* at = picture.scanLine(y) + size_t(face.left()) * 4;
        int left = face.width();
        for (; left >= 2; left -= 2, at += 8) {
            uint64_t two;
            std::memcpy(&two, at, 8);
            two = halve(two);
            std::memcpy(at, &two, 8);
        }
        if (left) {
            uint32_t one;
            std::memcpy(&one, at, 4);
            one = static_cast<uint32_t>(halve(one));
            std::memcpy(at, &one, 4);
        }
    }
}

// The pictures of one device pixel ratio.
struct RatioSets {
    double ratio = 1;
    // sets[look][size index][face - 1]; a set is empty until it is made.
    std::array<std::array<Set, 4>, kLooks> sets;
    // The symbol layers per size, kept until both looks that use them exist.
    std::array<Symbols, 4> symbols;
    // The memory of the pictures per size, made with the first look of it.
    std::array<std::shared_ptr<PictureBlock>, 4> blocks;
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

    // The symbol layers rendered from the art, for a ratio without sheets.
    Symbols rendered(const TileShape& shape)
    {
        if (art.empty())
            for (int f = 1; f <= kFaceCount; ++f)
                art.push_back(std::make_unique<QSvgRenderer>(faceArtResource(f)));
        Symbols s;
        s.layer = shape.face().size();
        s.sheet = QImage(sheetSize(s.layer, kFaceCount), QImage::Format_ARGB32_Premultiplied);
        s.sheet.fill(Qt::transparent);
        QPainter p(&s.sheet);
        for (int f = 1; f <= kFaceCount; ++f)
            p.drawImage(layerInSheet(s.layer, f).topLeft(), renderArt(*art[f - 1], s.layer));
        return s;
    }

    const Symbols& symbolsOf(RatioSets& r, int size)
    {
        Symbols& symbols = r.symbols[sizeIndex(size)];
        if (!symbols.empty())
            return symbols;
        const TileShape shape = tileShape(size, r.ratio);
        const auto baked = std::find(std::begin(kBakedRatios), std::end(kBakedRatios), r.ratio);
        symbols = baked != std::end(kBakedRatios) ? readSymbols(shape, size, *baked) : rendered(shape);
        return symbols;
    }

    Set& set(RatioSets& r, TileLook look, int size)
    {
        const int s = sizeIndex(size);
        auto& wanted = r.sets[static_cast<int>(look)][s];
        if (!wanted[0].isNull())
            return wanted;
        const TileShape shape = tileShape(size, r.ratio);
        const size_t bytes = size_t(shape.width) * size_t(shape.height) * 4;
        auto& block = r.blocks[s];
        if (!block)
            block = std::make_shared<PictureBlock>(bytes * kLooks * kFaceCount);
        for (int f = 0; f < kFaceCount; ++f)
            wanted[f] = pictureIn(block, bytes * size_t(static_cast<int>(look) * kFaceCount + f), shape);
        // Drawn in its own pixels; the ratio is set on a picture once it is made.
        auto done = [&] {
            if (r.ratio != 1)
                for (QImage& picture : wanted)
                    picture.setDevicePixelRatio(r.ratio);
        };
        if (look == TileLook::Grey) {
            const auto& normal = set(r, TileLook::Normal, size);
            for (int f = 0; f < kFaceCount; ++f)
                grey(wanted[f], normal[f], shape);
            done();
            return wanted;
        }
        const QImage frame = framed(shape, look == TileLook::Selected ? kFaceSelected : kFaceNormal);
        const Symbols& symbols = symbolsOf(r, size);
        for (int f = 0; f < kFaceCount; ++f)
            compose(wanted[f], frame, symbols, shape, f + 1);
        done();
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
                const Set& set = r->sets[look][s];
                if (before(picture, set.data()) || !before(picture, set.data() + kFaceCount))
                    continue;
                const auto face = picture - set.data();
                return &d_->set(*d_->current, static_cast<TileLook>(look), kTileSizes[s])[static_cast<size_t>(face)];
            }
    return picture;
}

// The icon's sizes, unpacked at build time from the PNG files installed for
// the desktop's icon theme; each pixmap is one copy of the program's pixels.
QIcon plitarIcon()
{
    QIcon icon;
    for (int px : kIconSizes) {
        const QImage pixels = bakedIcon(px);
        if (!pixels.isNull())
            icon.addPixmap(QPixmap::fromImage(pixels));
    }
    return icon;
}

}  // namespace plitar
