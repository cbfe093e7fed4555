// Where the baked face sheets and icon pixels lie in the program (see FaceSheet.h).
#include "view/FaceSheet.h"

#include <QResource>

// The pixels live in a static library, so their resources must be registered
// by hand before first use (the linker would drop an unreferenced initialiser).
static void registerPixels()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(plitar_pixels);
        return true;
    }();
    (void)done;
}

namespace plitar {

namespace {
// A built-in file's bytes where the program holds them: never copied, as the
// resource compiler stores them unpacked.
QByteArray inPlace(const QString& name)
{
    registerPixels();
    const QResource file(QStringLiteral(":/plitar/") + name);
    if (!file.isValid() || file.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()), file.size());
}
}  // namespace

QByteArray bakedSheet(int size, double ratio) { return inPlace(faceSheetName(size, ratio)); }

QImage bakedIcon(int px)
{
    const QByteArray bytes = inPlace(iconPixelsName(px));
    return sheetOver(bytes, QSize(px, px));  // the program's bytes outlive every image over them
}

}  // namespace plitar
