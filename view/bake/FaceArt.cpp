#include "view/bake/FaceArt.h"

#include <algorithm>

#include <QPainter>
#include <QSvgRenderer>

namespace plitar {

QImage renderArt(QSvgRenderer& art, QSize size)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    art.render(&p, QRectF(QPointF(0, 0), QSizeF(layer.size())));
    return layer;
}

QImage straightAlpha(const QImage& premultiplied)
{
    QImage out = premultiplied.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            auto divided = [a](int c) { return std::min(255, (c * 255 + a / 2) / a); };
            line[x] = a == 0 ? 0 : qRgba(divided(qRed(p)), divided(qGreen(p)), divided(qBlue(p)), a);
        }
    }
    // The pixels are straight now; the format says so without converting them.
    out.reinterpretAsFormat(QImage::Format_ARGB32);
    return out;
}

}  // namespace plitar
