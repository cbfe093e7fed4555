// Writes every tile picture as a PNG file (<out>/<look>/<size>/<face>.png,
// e.g. normal/56/07.png), one contact sheet of all 504 (<out>/tiles.png) and
// the window icon as the game shows it, at the installed sizes
// (<out>/icons/hicolor/<N>x<N>/apps/plitar.png), and prints how long making
// the pictures took. Two dumps compare file by file (cmp), so a change to how
// the pictures are made can be checked to leave every pixel as it was.
// (The icon files in assets/icons/ are rendered from their SVG by
// plitar_bakefaces --icons.)
//
// With a device pixel ratio p the pictures are those made for a screen of that
// ratio (round(w * p) x round(h * p) pixels each) and the sheet is laid out
// in the same logical places, measured in device pixels.
//
//   QT_QPA_PLATFORM=offscreen plitar_tilesheet [out-folder [ratio]]
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "view/TileFrame.h"
#include "view/TilePictures.h"

using namespace plitar;

namespace {

constexpr int kColumns = 14;  // faces per row of the sheet
constexpr int kGap = 2;       // between pictures, as between tiles on the board
constexpr int kBlockGap = 10; // between the blocks of one look and size

const char* lookName(TileLook look)
{
    switch (look) {
    case TileLook::Normal: return "normal";
    case TileLook::Selected: return "selected";
    case TileLook::Grey: return "grey";
    }
    return "?";
}

constexpr TileLook kLooks[] = {TileLook::Normal, TileLook::Selected, TileLook::Grey};

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tilesheet");
    const double ratio = argc > 2 ? std::atof(argv[2]) : 1.0;
    if (!(ratio >= 1 && ratio <= 4)) {
        std::fprintf(stderr, "the ratio must lie between 1 and 4\n");
        return 2;
    }
    TilePictures pictures;
    pictures.setDevicePixelRatio(ratio);

    // Making the pictures: every look of one size at a time, as the game does.
    for (int size : kTileSizes) {
        QElapsedTimer timer;
        timer.start();
        pictures.prepare(size);
        std::printf("size %d at ratio %g: 126 pictures made in %.1f ms\n", size, ratio, timer.nsecsElapsed() / 1e6);
    }

    // One file per picture.
    for (TileLook look : kLooks)
        for (int size : kTileSizes) {
            const QString dir = QStringLiteral("%1/%2/%3").arg(out, lookName(look)).arg(size);
            QDir().mkpath(dir);
            for (int f = 1; f <= kFaceCount; ++f) {
                QImage picture = pictures.picture(look, size, f);
                picture.setDevicePixelRatio(1);  // the file holds the pixels, nothing more
                picture.save(QStringLiteral("%1/%2.png").arg(dir).arg(f, 2, 10, QLatin1Char('0')));
            }
        }

    // The sheet: for each size from large to small, the three looks one
    // below the other, each as three rows of fourteen faces; at a ratio above
    // 1 each picture stands at its logical place times the ratio, rounded.
    const int rows = (kFaceCount + kColumns - 1) / kColumns;
    const int width = kBlockGap * 2 + kColumns * (70 + kGap);
    int height = kBlockGap;
    for (int size : kTileSizes)
        height += 3 * (rows * (TilePictures::pictureSize(size).height() + kGap) + kBlockGap);
    auto device = [ratio](int v) { return qRound(v * ratio); };
    QImage sheet(device(width), device(height), QImage::Format_RGB32);
    sheet.fill(kBoardColour);
    QPainter p(&sheet);
    int top = kBlockGap;
    for (int size : kTileSizes) {
        const QSize cell = TilePictures::pictureSize(size) + QSize(kGap, kGap);
        for (TileLook look : kLooks) {
            for (int f = 1; f <= kFaceCount; ++f) {
                QImage picture = pictures.picture(look, size, f);
                picture.setDevicePixelRatio(1);
                p.drawImage(device(kBlockGap + (f - 1) % kColumns * cell.width()),
                            device(top + (f - 1) / kColumns * cell.height()), picture);
            }
            top += rows * cell.height() + kBlockGap;
        }
    }
    p.end();
    sheet.save(out + QStringLiteral("/tiles.png"));

    // The icon for the desktop's icon theme.
    if (ratio != 1) {
        std::printf("written to %s\n", qPrintable(out));
        return 0;
    }
    const QIcon icon = plitarIcon();
    for (int px : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/icons/hicolor/%2x%2/apps").arg(out).arg(px);
        QDir().mkpath(dir);
        icon.pixmap(px, px).toImage().save(dir + QStringLiteral("/plitar.png"));
    }
    std::printf("written to %s\n", qPrintable(out));
    return 0;
}
