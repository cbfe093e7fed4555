// Stand-in pictures until the artwork lands: plain faces with the frame.
#include "view/TilePictures.h"

#include <QPainter>
#include <map>
#include <tuple>

namespace plitar {

struct TilePictures::Impl {
    std::map<std::tuple<int, int, int>, QImage> cache;
};

TilePictures::TilePictures() : d_(new Impl) {}
TilePictures::~TilePictures() { delete d_; }

QSize TilePictures::pictureSize(int size)
{
    switch (size) {
    case 70: return {70, 80};
    case 63: return {63, 72};
    case 56: return {56, 64};
    case 49: return {49, 56};
    default: return {};
    }
}

const QImage& TilePictures::picture(TileLook look, int size, int face)
{
    auto key = std::make_tuple(static_cast<int>(look), size, face);
    auto it = d_->cache.find(key);
    if (it != d_->cache.end())
        return it->second;
    QImage img(pictureSize(size), QImage::Format_RGB32);
    img.fill(QColor(63, 72, 204));
    QPainter p(&img);
    const int d = size >= 63 ? 5 : 4;
    const QColor bg = look == TileLook::Selected ? QColor(255, 216, 0)
                      : look == TileLook::Grey   ? QColor(108, 117, 105)
                                                 : QColor(216, 233, 210);
    p.fillRect(d, 0, img.width() - d, img.height() - d, bg);
    p.drawText(QRect(d, 0, img.width() - d, img.height() - d), Qt::AlignCenter, QString::number(face));
    p.end();
    return d_->cache.emplace(key, img).first->second;
}

void TilePictures::prepare(int size)
{
    for (int f = 1; f <= kFaceCount; ++f)
        for (auto look : {TileLook::Normal, TileLook::Selected, TileLook::Grey})
            picture(look, size, f);
}

QIcon plitarIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setBrush(QColor(191, 55, 24));
    p.drawEllipse(2, 2, 28, 28);
    return QIcon(pm);
}

}  // namespace plitar
