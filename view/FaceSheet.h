// How the faces' symbol layers are stored in the program: rendered from
// assets/faces/NN.svg at build time (view/bake/), one sheet per tile size and
// baked device pixel ratio, built in unpacked as the resource
// :/plitar/faces/<size>.argb, <size>@1.5x.argb or <size>@2x.argb and read in
// place (bakedSheet()). The window icon's sizes are built in the same way.
// Shared by the program that writes the sheets and by TilePictures, which
// reads them. Other ratios are rendered from the SVG files when first needed.
//
// A sheet holds the layers of faces 1..42 side by side, each the size of the
// face rectangle (TileShape::face() of tileShape(size, ratio)), face f at
// column (f - 1) x its width.
// Its file is the bare pixels, row after row with no gap, in the form
// QPainter blends from: QImage::Format_ARGB32_Premultiplied in the byte order
// of the machine that built the program. Nothing decodes or unpacks it: the
// pixels are used where the program's file holds them, exactly as rendered.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

namespace plitar {

// The device pixel ratios whose sheets are baked: a plain screen and ones
// scaled to 150 % and 200 %, the most common.
inline constexpr double kBakedRatios[] = {1, 1.5, 2};

inline QString faceSheetName(int size, double ratio = 1)
{
    return ratio == 1 ? QStringLiteral("faces/%1.argb").arg(size)
                      : QStringLiteral("faces/%1@%2x.argb").arg(size).arg(ratio);
}

inline QString faceSheetResource(int size, double ratio = 1) { return QStringLiteral(":/plitar/") + faceSheetName(size, ratio); }

// The bytes of the baked sheet of a size at a baked ratio, read in place
// where the program holds them; empty when there is none.
QByteArray bakedSheet(int size, double ratio);

// The sizes of the window icon built in, as installed for the icon theme.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The window icon at px x px pixels, as bare pixels like a sheet's.
inline QString iconPixelsName(int px) { return QStringLiteral("icons/%1.argb").arg(px); }

// The icon of that size, sharing the program's bytes; a null image if the
// program lacks that size.
QImage bakedIcon(int px);

// The face art itself, built in from assets/faces/.
inline QString faceArtResource(int face)
{
    return QStringLiteral(":/plitar/faces/%1.svg").arg(face, 2, 10, QLatin1Char('0'));
}

// Where face f's layer lies in a sheet of layers of the given size.
inline QRect layerInSheet(QSize layer, int face)
{
    return {(face - 1) * layer.width(), 0, layer.width(), layer.height()};
}

inline QSize sheetSize(QSize layer, int faces) { return {faces * layer.width(), layer.height()}; }

// The file of a sheet.
inline QByteArray sheetBytes(const QImage& sheet)
{
    const QImage pixels = sheet.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes;
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4);
    return bytes;
}

// A sheet of the given size read back from its file, sharing the file's
// bytes (which must outlive it); a null image if the file does not fit.
inline QImage sheetOver(const QByteArray& bytes, QSize size)
{
    if (size.isEmpty() || bytes.size() != qsizetype(size.width()) * size.height() * 4)
        return {};
    return QImage(reinterpret_cast<const uchar*>(bytes.constData()), size.width(), size.height(), size.width() * 4,
                  QImage::Format_ARGB32_Premultiplied);
}

}  // namespace plitar
