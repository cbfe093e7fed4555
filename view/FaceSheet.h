// How the faces' symbol layers are stored in the program: rendered from
// assets/faces/NN.svg at build time (view/bake/), one sheet per tile size,
// built in as the resource :/plitar/faces/<size>.argb. Shared by the program
// that writes the sheets and by TilePictures, which reads them.
//
// A sheet holds the layers of faces 1..42 side by side, each the size of the
// face rectangle (TileShape::face()), face f at column (f - 1) x its width.
// Its file is the bare pixels, row after row with no gap, in the form
// QPainter blends from: QImage::Format_ARGB32_Premultiplied in the byte order
// of the machine that built the program. The resource compiler packs it
// (with zstd), which unpacks far faster than a PNG decodes, and the pixels
// come back exactly as rendered, with no conversion.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

namespace plitar {

inline QString faceSheetName(int size) { return QStringLiteral("faces/%1.argb").arg(size); }

inline QString faceSheetResource(int size) { return QStringLiteral(":/plitar/") + faceSheetName(size); }

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
