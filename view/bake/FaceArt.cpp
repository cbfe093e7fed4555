#include "view/bake/FaceArt.h"

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

}  // namespace plitar
