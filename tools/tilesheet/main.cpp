// Writes every tile picture as a PNG file (<out>/<look>/<size>/<face>.png,
// e.g. normal/56/07.png), one contact sheet of all 504 (<out>/tiles.png) and
// the window icon as the game shows it, at the installed sizes
// (<out>/icons/hicolor/<N>x<N>/apps/plitar.png), and prints how long making
// the pictures took. Two dumps compare file by file (cmp), so a change to how
// the pictures are made can be checked to leave every pixel as it was.
// (The icon files in assets/icons/ are rendered from their SVG by
// plitar_bakefaces --icons.)
//
//   QT_QPA_PLATFORM=offscreen plitar_tilesheet [out-folder]
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <cstdio>

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
    TilePictures pictures;

    // Making the pictures: every look of one size at a time, as the game does.
    for (int size : kTileSizes) {
        QElapsedTimer timer;
        timer.start();
        pictures.prepare(size);
        std::printf("size %d: 126 pictures made in %.1f ms\n", size, timer.nsecsElapsed() / 1e6);
    }

    // One file per picture.
    for (TileLook look : kLooks)
        for (int size : kTileSizes) {
            const QString dir = QStringLiteral("%1/%2/%3").arg(out, lookName(look)).arg(size);
            QDir().mkpath(dir);
            for (int f = 1; f <= kFaceCount; ++f)
                pictures.picture(look, size, f).save(QStringLiteral("%1/%2.png").arg(dir).arg(f, 2, 10, QLatin1Char('0')));
        }

    // The sheet: for each size from large to small, the three looks one
    // below the other, each as three rows of fourteen faces.
    const int rows = (kFaceCount + kColumns - 1) / kColumns;
    const int width = kBlockGap * 2 + kColumns * (70 + kGap);
    int height = kBlockGap;
    for (int size : kTileSizes)
        height += 3 * (rows * (TilePictures::pictureSize(size).height() + kGap) + kBlockGap);
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(kBoardColour);
    QPainter p(&sheet);
    int top = kBlockGap;
    for (int size : kTileSizes) {
        const QSize cell = TilePictures::pictureSize(size) + QSize(kGap, kGap);
        for (TileLook look : kLooks) {
            for (int f = 1; f <= kFaceCount; ++f)
                p.drawImage(kBlockGap + (f - 1) % kColumns * cell.width(), top + (f - 1) / kColumns * cell.height(),
                            pictures.picture(look, size, f));
            top += rows * cell.height() + kBlockGap;
        }
    }
    p.end();
    sheet.save(out + QStringLiteral("/tiles.png"));

    // The icon for the desktop's icon theme.
    const QIcon icon = plitarIcon();
    for (int px : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/icons/hicolor/%2x%2/apps").arg(out).arg(px);
        QDir().mkpath(dir);
        icon.pixmap(px, px).toImage().save(dir + QStringLiteral("/plitar.png"));
    }
    std::printf("written to %s\n", qPrintable(out));
    return 0;
}
