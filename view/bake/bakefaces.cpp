// Renders the face art at build time, so that the game does not read and
// render 42 SVG files at every start.
//
//   plitar_bakefaces FACES-DIR OUT-DIR
//     reads FACES-DIR/01.svg .. 42.svg and writes, for each tile size and
//     baked device pixel ratio, the sheet of the faces' symbol layers
//     OUT-DIR/faces/<size>.argb, <size>@1.5x.argb and <size>@2x.argb (laid
//     out and encoded as view/FaceSheet.h says) and OUT-DIR/faces.qrc naming
//     the SVG files, built in as well.
//   plitar_bakefaces --icon-pixels HICOLOR-DIR OUT-DIR SIZE...
//     reads the window icon's PNG file of each size from the icon theme
//     HICOLOR-DIR/<N>x<N>/apps/plitar.png and writes its bare pixels, encoded
//     as a sheet is, to OUT-DIR/icons/<N>.argb.
//
// Run by the build (view/CMakeLists.txt) on Qt's offscreen platform.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSvgRenderer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "board/Tiles.h"
#include "view/FaceSheet.h"
#include "view/TileFrame.h"
#include "view/bake/FaceArt.h"

using namespace plitar;

namespace {

bool fail(const QString& what)
{
    std::fprintf(stderr, "plitar_bakefaces: %s\n", qPrintable(what));
    return false;
}

bool bakeFaces(const QString& faces, const QString& out)
{
    std::vector<std::unique_ptr<QSvgRenderer>> art;
    for (int f = 1; f <= kFaceCount; ++f) {
        const QString file = QStringLiteral("%1/%2.svg").arg(faces).arg(f, 2, 10, QLatin1Char('0'));
        art.push_back(std::make_unique<QSvgRenderer>(file));
        if (!art.back()->isValid())
            return fail(QStringLiteral("cannot read ") + file);
    }
    if (!QDir().mkpath(out + QStringLiteral("/faces")))
        return fail(QStringLiteral("cannot make ") + out + QStringLiteral("/faces"));
    QString qrc = QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/plitar\">\n");
    for (double ratio : kBakedRatios)
        for (int size : kTileSizes) {
            const QSize layer = tileShape(size, ratio).face().size();
            QImage sheet(sheetSize(layer, kFaceCount), QImage::Format_ARGB32_Premultiplied);
            sheet.fill(Qt::transparent);
            for (int f = 1; f <= kFaceCount; ++f) {
                const QImage symbols = renderArt(*art[f - 1], layer);
                const QRect to = layerInSheet(layer, f);
                for (int y = 0; y < layer.height(); ++y)
                    std::memcpy(sheet.scanLine(y) + to.left() * 4, symbols.constScanLine(y), layer.width() * 4);
            }
            QFile file(out + QLatin1Char('/') + faceSheetName(size, ratio));
            const QByteArray bytes = sheetBytes(sheet);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return fail(QStringLiteral("cannot write ") + file.fileName());
        }
    // The art itself, for screens whose ratio has no baked sheet.
    for (int f = 1; f <= kFaceCount; ++f)
        qrc += QStringLiteral("    <file alias=\"faces/%1.svg\">%2/%1.svg</file>\n")
                   .arg(f, 2, 10, QLatin1Char('0'))
                   .arg(QDir(faces).absolutePath());
    qrc += QStringLiteral("  </qresource>\n</RCC>\n");
    QFile list(out + QStringLiteral("/faces.qrc"));
    if (!list.open(QIODevice::WriteOnly) || list.write(qrc.toUtf8()) < 0)
        return fail(QStringLiteral("cannot write ") + list.fileName());
    return true;
}

bool unpackIcon(const QString& hicolor, const QString& out, const QStringList& sizes)
{
    if (!QDir().mkpath(out + QStringLiteral("/icons")))
        return fail(QStringLiteral("cannot make ") + out + QStringLiteral("/icons"));
    for (const QString& px : sizes) {
        const QString png = QStringLiteral("%1/%2x%2/apps/plitar.png").arg(hicolor, px);
        const QImage image(png);
        if (image.isNull() || image.width() != px.toInt() || image.height() != px.toInt())
            return fail(QStringLiteral("cannot read ") + png + QStringLiteral(" at its size"));
        QFile file(out + QLatin1Char('/') + iconPixelsName(px.toInt()));
        const QByteArray bytes = sheetBytes(image);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return fail(QStringLiteral("cannot write ") + file.fileName());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool done = false;
    if (args.size() >= 4 && args[0] == QLatin1String("--icon-pixels"))
        done = unpackIcon(args[1], args[2], args.mid(3));
    else if (args.size() == 2)
        done = bakeFaces(args[0], args[1]);
    else
        std::fprintf(stderr, "usage: plitar_bakefaces FACES-DIR OUT-DIR |"
                             " --icon-pixels HICOLOR-DIR OUT-DIR SIZE...\n");
    return done ? 0 : 1;
}
