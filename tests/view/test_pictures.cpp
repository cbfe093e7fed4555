// The 504 tile pictures and the icon: sizes, the side shared by all looks,
// the face colours of each look, the grey rule, that every face differs, and
// that the art built into the program is what its SVG files draw.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QResource>
#include <QSvgRenderer>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "PictureFixture.h"
#include "view/FaceSheet.h"
#include "view/TileFrame.h"
#include "view/TilePictures.h"
#include "view/bake/FaceArt.h"

using namespace plitar;

namespace {

using fixture::kLooks;
using fixture::near;

class Pictures : public fixture::PictureFixture {};

QByteArray bytes(const QImage& image)
{
    QByteArray out;
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return out;
}

}  // namespace

TEST_F(Pictures, EveryPictureIsOpaqueAtItsNaturalSize)
{
    const std::map<int, QSize> natural = {{70, {70, 80}}, {63, {63, 72}}, {56, {56, 64}}, {49, {49, 56}}};
    for (auto [size, expected] : natural) {
        EXPECT_EQ(TilePictures::pictureSize(size), expected);
        for (TileLook look : kLooks)
            for (int f = 1; f <= kFaceCount; ++f) {
                const QImage& p = pic(look, size, f);
                ASSERT_EQ(p.size(), expected) << size << " face " << f;
                ASSERT_FALSE(p.hasAlphaChannel());
            }
    }
}

TEST_F(Pictures, NothingForUnknownSizesOrFaces)
{
    EXPECT_TRUE(pic(TileLook::Normal, 50, 1).isNull());
    EXPECT_TRUE(pic(TileLook::Normal, 56, 0).isNull());
    EXPECT_TRUE(pic(TileLook::Grey, 56, 43).isNull());
    EXPECT_TRUE(TilePictures::pictureSize(64).isEmpty());
}

// Outside the face every picture is the drawn side and corners, identical in
// all three looks.
TEST_F(Pictures, SideAndCornersAreTheSameInEveryLook)
{
    for (int size : kTileSizes) {
        const TileShape s = tileShape(size);
        for (int f = 1; f <= kFaceCount; ++f)
            for (TileLook look : kLooks) {
                const QImage& p = pic(look, size, f);
                for (int y = 0; y < s.height; ++y)
                    for (int x = 0; x < s.width; ++x)
                        if (!s.face().contains(x, y)) {
                            ASSERT_EQ(p.pixel(x, y), sidePixel(s, x, y))
                                << size << " face " << f << " look " << int(look) << " at " << x << "," << y;
                        }
            }
    }
}

// The colours themselves, read off real pictures: across the left band at
// mid-height and across the bottom band at mid-width, and the corner cuts.
TEST_F(Pictures, SideColoursOnRealPictures)
{
    const QRgb black = qRgb(0, 0, 0), blue = qRgb(63, 72, 204), board = qRgb(192, 192, 255);
    struct Case { int size, blueWidth; };
    for (Case c : {Case{70, 3}, Case{63, 3}, Case{56, 2}, Case{49, 2}}) {
        const QImage& p = pic(TileLook::Grey, c.size, 23);
        const int w = p.width(), h = p.height(), d = c.blueWidth + 2;
        std::vector<QRgb> expected{black};
        expected.insert(expected.end(), c.blueWidth, blue);
        expected.push_back(black);
        for (int j = 0; j < d; ++j) {
            EXPECT_EQ(p.pixel(j, h / 2), expected[j]) << c.size << " left, " << j << " from the outside";
            EXPECT_EQ(p.pixel(w / 2, h - 1 - j), expected[j]) << c.size << " bottom, " << j << " from the outside";
        }
        EXPECT_NE(p.pixel(d, h / 2), black) << c.size << ": the face begins after the band";
        EXPECT_EQ(p.pixel(0, 0), board) << c.size;
        EXPECT_EQ(p.pixel(d - 2, 0), board) << c.size;
        EXPECT_EQ(p.pixel(d - 1, 0), black) << c.size;
        EXPECT_EQ(p.pixel(0, d - 2), board) << c.size;
        EXPECT_EQ(p.pixel(0, d - 1), black) << c.size;
        EXPECT_EQ(p.pixel(w - 1, h - 1), board) << c.size;
        EXPECT_EQ(p.pixel(w - d + 1, h - 1), board) << c.size;
        EXPECT_EQ(p.pixel(w - d, h - 1), black) << c.size;
        EXPECT_EQ(p.pixel(w - 1, h - d + 1), board) << c.size;
        EXPECT_EQ(p.pixel(w - 1, h - d), black) << c.size;
        EXPECT_EQ(p.pixel(0, h - 1), black) << c.size;
        EXPECT_EQ(p.pixel(d - 1, h - d), black) << c.size << ": the diagonal starts at the face's corner";
    }
}

// The face's top corners hold nothing but background in every face.
TEST_F(Pictures, FaceBackgroundOfEachLook)
{
    const std::map<TileLook, QRgb> background = {{TileLook::Normal, qRgb(216, 233, 210)},
                                                 {TileLook::Selected, qRgb(255, 216, 0)},
                                                 {TileLook::Grey, qRgb(108, 117, 105)}};
    for (int size : kTileSizes) {
        const QRect face = tileShape(size).face();
        for (auto [look, colour] : background)
            for (int f = 1; f <= kFaceCount; ++f)
                for (QPoint at : {face.topLeft() + QPoint(1, 1), face.topRight() + QPoint(-1, 1)})
                    ASSERT_EQ(pic(look, size, f).pixel(at), colour) << size << " face " << f;
    }
}

TEST_F(Pictures, GreyHalvesEveryFacePixelOfTheNormalLook)
{
    for (int size : kTileSizes) {
        const QRect face = tileShape(size).face();
        for (int f = 1; f <= kFaceCount; ++f) {
            const QImage& normal = pic(TileLook::Normal, size, f);
            const QImage& grey = pic(TileLook::Grey, size, f);
            for (int y = face.top(); y <= face.bottom(); ++y)
                for (int x = face.left(); x <= face.right(); ++x) {
                    const QRgb v = normal.pixel(x, y);
                    ASSERT_EQ(grey.pixel(x, y), qRgb((qRed(v) + 1) / 2, (qGreen(v) + 1) / 2, (qBlue(v) + 1) / 2))
                        << size << " face " << f << " at " << x << "," << y;
                }
        }
    }
}

TEST_F(Pictures, WhiteTurnsMidGreyInTheGreyLook)
{
    // The cross on the one of circles is pure white at every size.
    for (int size : kTileSizes) {
        const QImage& normal = pic(TileLook::Normal, size, 1);
        const QImage& grey = pic(TileLook::Grey, size, 1);
        int white = 0;
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x) {
                if (normal.pixel(x, y) == qRgb(255, 255, 255)) {
                    ++white;
                    ASSERT_EQ(grey.pixel(x, y), qRgb(128, 128, 128));
                }
            }
        EXPECT_GT(white, 0) << size;
    }
}

// The selected look draws the same symbols over yellow: where one look shows
// bare background the other does too, and where a symbol covers a pixel both
// show the symbol's colour (up to the rounding of a barely covered pixel).
TEST_F(Pictures, SelectedShowsTheSameSymbolsOverYellow)
{
    const std::set<QRgb> palette = {qRgb(42, 59, 146), qRgb(3, 130, 73), qRgb(191, 55, 24), qRgb(211, 127, 17),
                                    qRgb(255, 255, 255)};
    for (int size : kTileSizes) {
        const QRect face = tileShape(size).face();
        for (int f = 1; f <= kFaceCount; ++f) {
            const QImage& normal = pic(TileLook::Normal, size, f);
            const QImage& selected = pic(TileLook::Selected, size, f);
            int symbolPixels = 0;
            for (int y = face.top(); y <= face.bottom(); ++y)
                for (int x = face.left(); x <= face.right(); ++x) {
                    const QRgb n = normal.pixel(x, y), s = selected.pixel(x, y);
                    if (n == kFaceNormal) {
                        ASSERT_TRUE(near(s, kFaceSelected)) << size << " face " << f << " at " << x << "," << y;
                    }
                    if (s == kFaceSelected) {
                        ASSERT_TRUE(near(n, kFaceNormal)) << size << " face " << f << " at " << x << "," << y;
                    }
                    if (palette.count(n)) {
                        ++symbolPixels;
                        ASSERT_TRUE(near(s, n)) << size << " face " << f << " at " << x << "," << y;
                    }
                }
            EXPECT_GT(symbolPixels, 0) << size << " face " << f;
        }
    }
}

TEST_F(Pictures, EveryFaceHasItsOwnPictureAtEverySize)
{
    for (int size : kTileSizes)
        for (TileLook look : kLooks) {
            std::map<QByteArray, int> seen;
            for (int f = 1; f <= kFaceCount; ++f) {
                auto [it, fresh] = seen.emplace(bytes(pic(look, size, f)), f);
                EXPECT_TRUE(fresh) << size << ": face " << f << " looks like face " << it->second;
            }
        }
}

TEST_F(Pictures, PrepareMakesTheSamePictures)
{
    TilePictures fresh;
    fresh.prepare(49);
    for (TileLook look : kLooks)
        for (int f = 1; f <= kFaceCount; ++f)
            ASSERT_EQ(fresh.picture(look, 49, f), pic(look, 49, f)) << f;
}

// The faces' symbol layers baked at build time are, pixel for pixel, the
// face SVGs rendered now: the sheets are neither stale nor garbled, and each
// layer sits where TilePictures cuts it out.
TEST_F(Pictures, BakedFacesAreTheSvgArtRendered)
{
    std::vector<std::unique_ptr<QSvgRenderer>> art;
    for (int f = 1; f <= kFaceCount; ++f)
        art.push_back(std::make_unique<QSvgRenderer>(
            QStringLiteral(PLITAR_ASSETS_DIR "/faces/%1.svg").arg(f, 2, 10, QLatin1Char('0'))));
    for (int size : kTileSizes) {
        const QSize layer = tileShape(size).face().size();
        const QByteArray bytes = QResource(faceSheetResource(size)).uncompressedData();
        const QImage sheet = sheetOver(bytes, sheetSize(layer, kFaceCount));
        ASSERT_FALSE(sheet.isNull()) << size << ": " << bytes.size() << " bytes";
        for (int f = 1; f <= kFaceCount; ++f) {
            ASSERT_TRUE(art[f - 1]->isValid()) << f;
            ASSERT_EQ(sheet.copy(layerInSheet(layer, f)), renderArt(*art[f - 1], layer)) << size << " face " << f;
        }
    }
}

// The icon's PNG files, which the window shows, are its SVG rendered.
TEST_F(Pictures, IconFilesAreTheSvgArtRendered)
{
    QSvgRenderer art(QStringLiteral(PLITAR_ASSETS_DIR "/icons/hicolor/scalable/apps/plitar.svg"));
    ASSERT_TRUE(art.isValid());
    const QIcon icon = plitarIcon();
    for (int px : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage shown = icon.pixmap(px, px).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(shown, renderArt(art, QSize(px, px))) << px;
    }
}

TEST_F(Pictures, IconIsTheBigCoinOnTransparency)
{
    const QIcon icon = plitarIcon();
    for (int px : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(px, px))) << px;
        const QImage image = icon.pixmap(px, px).toImage();
        ASSERT_EQ(image.size(), QSize(px, px));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << px;
        EXPECT_EQ(qAlpha(image.pixel(px / 2, px / 2)), 255) << px;
        // Green ring at the edge of the coin, halfway along the top.
        const QRgb ring = image.pixel(px / 2 - px / 40 - 1, px / 20 + 1);
        EXPECT_GT(qGreen(ring), qRed(ring)) << px;
    }
}
