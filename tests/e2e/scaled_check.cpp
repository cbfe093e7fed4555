// Helper of the end-to-end test on a screen scaled to 200 %.
//
//   e2e_scaled_check shot.png
// Reads a screenshot of the game's window taken with QT_SCALE_FACTOR=2 and
// finds the tiles of size 56 that show whole (nothing lies on them): every
// one must be, pixel for pixel, one of the game's pictures made for ratio 2,
// 112 x 128 pixels with the side's lines 2 and its blue 4 pixels wide and the
// face art rendered at that size, not a plain picture stretched. Prints what
// it found; exits 0 when at least 8 such whole tiles are found, 1 otherwise
// (a plain picture stretched to twice its size matches none).
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <vector>

#include "view/TileFrame.h"
#include "view/TilePictures.h"

using namespace plitar;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_SCALE_FACTOR");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_scaled_check shot.png\n");
        return 2;
    }
    const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }

    constexpr double kRatio = 2;
    const TileShape shape = tileShape(56, kRatio);
    TilePictures pictures;
    std::vector<QImage> all;
    for (TileLook look : {TileLook::Normal, TileLook::Grey, TileLook::Selected})
        for (int f = 1; f <= kFaceCount; ++f) {
            QImage p = pictures.picture(look, 56, f, kRatio);
            p.setDevicePixelRatio(1);
            all.push_back(p);
        }
    const QImage& sample = all.front();
    std::string band;
    for (int x = 0; x < shape.depth; ++x)
        band += sample.pixel(x, shape.height / 2) == kSideBlack ? 'B' : sample.pixel(x, shape.height / 2) == kSideBlue ? 'b' : '?';
    std::printf("picture %dx%d, side across the left edge: %s\n", sample.width(), sample.height(), band.c_str());
    if (sample.size() != QSize(112, 128) || band != "BBbbbbBB") {
        std::printf("FAIL: not the pictures of ratio 2\n");
        return 1;
    }

    // A tile's top-left corner: the cut in board colour, then the black
    // edge of the cut, 2 pixels wide, then the face.
    const int cut = shape.depth - shape.line;
    auto corner = [&](int x, int y) {
        return shot.pixel(x, y) == kBoardColour && shot.pixel(x + cut - 1, y) == kBoardColour &&
               shot.pixel(x + cut, y) == kSideBlack && shot.pixel(x + cut + 1, y) == kSideBlack &&
               shot.pixel(x + shape.depth, y) != kSideBlack && shot.pixel(x, y + cut) == kSideBlack;
    };
    auto showsPicture = [&](int x0, int y0) {
        for (const QImage& p : all) {
            bool same = true;
            for (int y = 0; y < p.height() && same; ++y) {
                const auto* a = reinterpret_cast<const QRgb*>(shot.constScanLine(y0 + y)) + x0;
                const auto* b = reinterpret_cast<const QRgb*>(p.constScanLine(y));
                for (int x = 0; x < p.width(); ++x)
                    if ((a[x] & 0xffffff) != (b[x] & 0xffffff)) {
                        same = false;
                        break;
                    }
            }
            if (same)
                return true;
        }
        return false;
    };
    int whole = 0, corners = 0;
    for (int y = 0; y + shape.height <= shot.height(); ++y)
        for (int x = 0; x + shape.width <= shot.width(); ++x) {
            if (!corner(x, y))
                continue;
            ++corners;
            // A corner whose tile has another lying on it is only partly seen.
            if (showsPicture(x, y))
                ++whole;
        }
    std::printf("tile corners found: %d; tiles drawn whole and pixel for pixel as the pictures of ratio 2: %d\n",
                corners, whole);
    return whole >= 8 ? 0 : 1;
}
