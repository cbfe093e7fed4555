// The tile pictures made for a screen with a device pixel ratio: their sizes
// and side widths, the looks at ratio 2, and that the faces are the art
// rendered at the screen's size rather than the plain picture stretched.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <memory>
#include <set>
#include <string>
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

class RatioPictures : public fixture::PictureFixture {};

// One size at one ratio: the picture in device pixels and the side's widths
// (each width of the plain picture times the ratio, rounded, halves up).
struct RatioCase {
    double ratio;
    int size, width, height, line, blue;
};

std::string name(const RatioCase& c)
{
    return std::to_string(c.size) + "_at_" + std::to_string(int(c.ratio * 100));
}

class RatioShapes : public RatioPictures, public testing::WithParamInterface<RatioCase> {};

TEST_P(RatioShapes, PictureSizeAndSideWidths)
{
    const RatioCase c = GetParam();
    const TileShape s = tileShape(c.size, c.ratio);
    EXPECT_EQ(TilePictures::pictureSize(c.size, c.ratio), QSize(c.width, c.height));
    EXPECT_EQ(s.line, c.line);
    EXPECT_EQ(s.depth, 2 * c.line + c.blue);
    EXPECT_EQ(s.face(), QRect(s.depth, 0, c.width - s.depth, c.height - s.depth));
    for (TileLook look : kLooks)
        for (int f : {1, 23, 42}) {
            const QImage& p = pictures->picture(look, c.size, f, c.ratio);
            ASSERT_EQ(p.size(), QSize(c.width, c.height)) << f;
            EXPECT_EQ(p.devicePixelRatio(), c.ratio) << f;
            EXPECT_FALSE(p.hasAlphaChannel());
        }

    // Across the left band at mid-height and the bottom band at mid-width,
    // from the outside in: black, blue, black, then the face.
    const QImage& p = pictures->picture(TileLook::Grey, c.size, 23, c.ratio);
    std::string expected = std::string(c.line, 'B') + std::string(c.blue, 'b') + std::string(c.line, 'B');
    std::string left, bottom;
    auto code = [](QRgb v) { return v == kSideBlack ? 'B' : v == kSideBlue ? 'b' : '?'; };
    for (int j = 0; j < s.depth; ++j) {
        left += code(p.pixel(j, c.height / 2));
        bottom += code(p.pixel(c.width / 2, c.height - 1 - j));
    }
    EXPECT_EQ(left, expected);
    EXPECT_EQ(bottom, expected);
    EXPECT_NE(code(p.pixel(s.depth, c.height / 2)), 'B') << "the face begins after the band";

    // The cut corners: rows of depth - line, .., 1 board pixels at the top
    // left and the bottom right, and nothing else of the board colour.
    const int cut = s.depth - c.line;
    int board = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            board += p.pixel(x, y) == kBoardColour;
    EXPECT_EQ(board, cut * (cut + 1));
    for (int r = 0; r < cut; ++r) {
        EXPECT_EQ(p.pixel(cut - r - 1, r), kBoardColour) << r;
        EXPECT_EQ(p.pixel(cut - r, r), kSideBlack) << r;
        EXPECT_EQ(p.pixel(c.width - cut + r, c.height - 1 - r), kBoardColour) << r;
        EXPECT_EQ(p.pixel(c.width - cut + r - 1, c.height - 1 - r), kSideBlack) << r;
    }

    // The 45-degree line from the face's corner to the picture's: on each
    // row across the blue of the bottom band, inside the outer left line,
    // `line` black pixels.
    for (int k = c.line; k < s.depth - 2 * c.line; ++k) {
        int black = 0;
        for (int x = c.line; x < s.depth; ++x)
            black += p.pixel(x, c.height - s.depth + k) == kSideBlack;
        EXPECT_EQ(black, c.line) << "row " << k << " of the corner";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, RatioShapes,
    testing::Values(RatioCase{1, 70, 70, 80, 1, 3}, RatioCase{1, 49, 49, 56, 1, 2},
                    RatioCase{1.5, 70, 105, 120, 2, 5}, RatioCase{1.5, 63, 95, 108, 2, 5},
                    RatioCase{1.5, 56, 84, 96, 2, 3}, RatioCase{1.5, 49, 74, 84, 2, 3},
                    RatioCase{2, 70, 140, 160, 2, 6}, RatioCase{2, 63, 126, 144, 2, 6},
                    RatioCase{2, 56, 112, 128, 2, 4}, RatioCase{2, 49, 98, 112, 2, 4},
                    RatioCase{3, 70, 210, 240, 3, 9}, RatioCase{3, 56, 168, 192, 3, 6},
                    RatioCase{1.25, 56, 70, 80, 1, 3}, RatioCase{1.75, 63, 110, 126, 2, 5},
                    RatioCase{2.5, 49, 123, 140, 3, 5}),
    [](const testing::TestParamInfo<RatioCase>& c) { return name(c.param); });

TEST_F(RatioPictures, RatioOneIsThePlainPictures)
{
    for (int size : kTileSizes) {
        const TileShape plain = tileShape(size), one = tileShape(size, 1.0);
        EXPECT_EQ(one.width, plain.width);
        EXPECT_EQ(one.height, plain.height);
        EXPECT_EQ(one.depth, plain.depth);
        EXPECT_EQ(one.line, 1);
        EXPECT_EQ(&pictures->picture(TileLook::Grey, size, 7, 1.0), &pictures->picture(TileLook::Grey, size, 7));
    }
}

TEST_F(RatioPictures, ScreenRatiosHeldBetweenOneAndFour)
{
    for (auto [screen, used] : {std::pair{0.5, 1.0}, {1.0, 1.0}, {1.25, 1.25}, {2.0, 2.0}, {3.0, 3.0}, {6.0, 4.0}})
        EXPECT_EQ(TilePictures::usableRatio(screen), used) << screen;
    EXPECT_EQ(TilePictures::pictureSize(56, 0.5), QSize(56, 64));
}

// At ratio 2 the looks keep their rules in device pixels: the side is the
// same drawing in all three, grey halves every face pixel of the normal look,
// and the selected look lays the same symbols over yellow.
TEST_F(RatioPictures, LooksAtRatioTwo)
{
    const std::set<QRgb> palette = {qRgb(42, 59, 146), qRgb(3, 130, 73), qRgb(191, 55, 24), qRgb(211, 127, 17),
                                    qRgb(255, 255, 255)};
    for (int size : kTileSizes) {
        const TileShape s = tileShape(size, 2);
        for (int f = 1; f <= kFaceCount; ++f) {
            const QImage& normal = pictures->picture(TileLook::Normal, size, f, 2);
            const QImage& selected = pictures->picture(TileLook::Selected, size, f, 2);
            const QImage& grey = pictures->picture(TileLook::Grey, size, f, 2);
            int symbolPixels = 0;
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x) {
                    const QRgb n = normal.pixel(x, y);
                    if (!s.face().contains(x, y)) {
                        ASSERT_EQ(n, sidePixel(s, x, y)) << size << " face " << f << " at " << x << "," << y;
                        ASSERT_EQ(selected.pixel(x, y), n);
                        ASSERT_EQ(grey.pixel(x, y), n);
                        continue;
                    }
                    ASSERT_EQ(grey.pixel(x, y), qRgb((qRed(n) + 1) / 2, (qGreen(n) + 1) / 2, (qBlue(n) + 1) / 2))
                        << size << " face " << f << " at " << x << "," << y;
                    const QRgb sel = selected.pixel(x, y);
                    if (n == kFaceNormal) {
                        ASSERT_TRUE(near(sel, kFaceSelected)) << size << " face " << f << " at " << x << "," << y;
                    }
                    if (palette.count(n)) {
                        ++symbolPixels;
                        ASSERT_TRUE(near(sel, n)) << size << " face " << f << " at " << x << "," << y;
                    }
                }
            EXPECT_GT(symbolPixels, 0) << size << " face " << f;
            EXPECT_EQ(grey.pixel(s.face().topRight() + QPoint(-1, 1)), qRgb(108, 117, 105));
        }
    }
}

// The face art of a picture made for ratio p is the art rendered at that
// size: it matches a direct rendering far more closely than the plain
// picture's face stretched to the same size does.
TEST_F(RatioPictures, FacesAreRenderedAtTheScreensSize)
{
    auto faceOf = [](const QImage& picture, const TileShape& s) {
        QImage face = picture.copy(s.face());
        face.setDevicePixelRatio(1);
        return face.convertToFormat(QImage::Format_RGB32);
    };
    auto distance = [](const QImage& a, const QImage& b) {
        double sum = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb u = a.pixel(x, y), v = b.pixel(x, y);
                sum += std::abs(qRed(u) - qRed(v)) + std::abs(qGreen(u) - qGreen(v)) + std::abs(qBlue(u) - qBlue(v));
            }
        return sum / (a.width() * a.height());
    };
    for (double ratio : {1.5, 2.0, 3.0})
        for (int f : {1, 19, 33, 37, 40}) {
            const int size = 56;
            const TileShape s = tileShape(size, ratio);
            QSvgRenderer art(QStringLiteral(PLITAR_ASSETS_DIR "/faces/%1.svg").arg(f, 2, 10, QLatin1Char('0')));
            ASSERT_TRUE(art.isValid()) << f;
            QImage direct(s.face().size(), QImage::Format_RGB32);
            direct.fill(kFaceNormal);
            QPainter(&direct).drawImage(0, 0, renderArt(art, s.face().size()));
            const QImage made = faceOf(pictures->picture(TileLook::Normal, size, f, ratio), s);
            const QImage stretched = faceOf(pictures->picture(TileLook::Normal, size, f), tileShape(size))
                                         .scaled(s.face().size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            const double own = distance(made, direct), plain = distance(stretched, direct);
            EXPECT_LT(own * 10, plain) << "ratio " << ratio << " face " << f << ": " << own << " against " << plain;
            EXPECT_GT(plain, 1.0) << "ratio " << ratio << " face " << f;
        }
}

// The sheets baked for ratios 1.5 and 2 are, pixel for pixel, the face SVGs
// rendered now at the face size of each ratio: neither stale nor misplaced.
TEST_F(RatioPictures, BakedSheetsOfScaledScreensAreTheSvgArtRendered)
{
    std::vector<std::unique_ptr<QSvgRenderer>> art;
    for (int f = 1; f <= kFaceCount; ++f)
        art.push_back(std::make_unique<QSvgRenderer>(
            QStringLiteral(PLITAR_ASSETS_DIR "/faces/%1.svg").arg(f, 2, 10, QLatin1Char('0'))));
    for (double ratio : kBakedRatios) {
        // Used in place as 32-bit pixels, so each sheet starts on a pixel.
        for (int size : kTileSizes)
            EXPECT_EQ(reinterpret_cast<quintptr>(bakedSheet(size, ratio).constData()) % 4, 0u) << size << " at " << ratio;
        if (ratio == 1)
            continue;  // checked with the plain pictures
        for (int size : kTileSizes) {
            const QSize layer = tileShape(size, ratio).face().size();
            const QByteArray bytes = bakedSheet(size, ratio);
            const QImage sheet = sheetOver(bytes, sheetSize(layer, kFaceCount));
            ASSERT_FALSE(sheet.isNull()) << size << " at " << ratio << ": " << bytes.size() << " bytes";
            for (int f = 1; f <= kFaceCount; ++f)
                ASSERT_EQ(sheet.copy(layerInSheet(layer, f)), renderArt(*art[f - 1], layer))
                    << size << " at " << ratio << " face " << f;
        }
    }
}

// A store moved to another ratio finds, for any of its pictures, the one
// showing the same look, size and face at the new ratio.
TEST_F(RatioPictures, SamePictureAtTheCurrentRatio)
{
    TilePictures store;
    const QImage* plain = &store.picture(TileLook::Selected, 63, 17);
    store.setDevicePixelRatio(2);
    EXPECT_EQ(store.devicePixelRatio(), 2);
    const QImage* twice = store.atCurrentRatio(plain);
    EXPECT_EQ(twice, &store.picture(TileLook::Selected, 63, 17));
    EXPECT_EQ(twice->size(), QSize(126, 144));
    store.setDevicePixelRatio(1);
    EXPECT_EQ(store.atCurrentRatio(twice), plain);
    const QImage foreign;
    EXPECT_EQ(store.atCurrentRatio(&foreign), &foreign);
}

}  // namespace
