#include "view/BoardView.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "view/BoardAccessible.h"
#include "view/BoardFocus.h"
#include "view/TileFrame.h"
#include "view/TilePictures.h"

namespace plitar {

namespace {

// The logical size of a picture: its pixels at ratio 1; above, the size it
// was made for (round(w * p) / p comes back to w for every p >= 1).
QSize logicalSize(const QImage& picture)
{
    const qreal p = picture.devicePixelRatio();
    if (p == 1)
        return picture.size();
    return {qRound(picture.width() / p), qRound(picture.height() / p)};
}

// The device pixels of a logical rectangle on a device of ratio p whose
// logical origin lies at device point `origin`.
QRect deviceRect(QPoint pos, QSize size, qreal p, QPointF origin)
{
    return {qRound(origin.x() + pos.x() * p), qRound(origin.y() + pos.y() * p), qRound(size.width() * p),
            qRound(size.height() * p)};
}

}  // namespace

BoardView::BoardView(QWidget* parent)
    : QWidget(parent), focus_(std::make_unique<BoardFocus>(*this)),
      access_(std::make_unique<BoardAccessibility>(*this))
{
    static const bool factory = (QAccessible::installFactory(boardAccessibleFactory), true);
    (void)factory;
    setObjectName("board");
    // The board holds the keyboard focus: its tiles are played with the keys too.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(kBoardColour));
    setPalette(pal);
    setAutoFillBackground(false);
    stack_.reserve(kMaxTiles);
}

BoardView::~BoardView() = default;

void BoardView::touch(int n)
{
    const QRect r = spriteRect(n);
    if (r.isEmpty() || !sprites_[static_cast<size_t>(n)].visible)
        return;
    // Above ratio 1 a sprite's device pixels may reach one logical pixel
    // further than its logical rectangle once rounded.
    update(devicePixelRatioF() == 1 ? r : r.adjusted(-1, -1, 1, 1));
}

void BoardView::setPictureSource(TilePictures* source)
{
    source_ = source;
    followRatio();
}

bool BoardView::followRatio()
{
    if (!source_)
        return false;
    const double ratio = TilePictures::usableRatio(devicePixelRatioF());
    if (ratio == source_->devicePixelRatio())
        return false;
    source_->setDevicePixelRatio(ratio);
    for (Sprite& s : sprites_)
        if (s.exists && s.picture)
            s.picture = source_->atCurrentRatio(s.picture);
    update();
    return true;
}

bool BoardView::event(QEvent* event)
{
    // Qt 6.4 tells a widget of its window's move to another screen with this
    // event; later versions also send DevicePixelRatioChange for a new ratio
    // on the same screen. A paint checks the ratio as well, for any other way.
    if (event->type() == QEvent::ScreenChangeInternal)
        followRatio();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange)
        followRatio();
#endif
    return QWidget::event(event);
}

void BoardView::createSprite(int n)
{
    if (!valid(n))
        return;
    if (sprites_[static_cast<size_t>(n)].exists)
        destroySprite(n);
    sprites_[static_cast<size_t>(n)] = Sprite{true, false, {}, nullptr};
    stack_.push_back(static_cast<int16_t>(n));
    focus_->spriteMade(n);
    access_->spriteMade(n);
}

void BoardView::destroySprite(int n)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    touch(n);
    focus_->spriteGone(n);
    access_->spriteGone(n);
    sprites_[static_cast<size_t>(n)] = Sprite{};
    stack_.erase(std::find(stack_.begin(), stack_.end(), static_cast<int16_t>(n)));
}

void BoardView::setSpritePos(int n, QPoint topLeft)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    touch(n);
    sprites_[static_cast<size_t>(n)].pos = topLeft;
    touch(n);
}

void BoardView::setSpritePicture(int n, const QImage* picture)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    touch(n);
    sprites_[static_cast<size_t>(n)].picture = picture;
    touch(n);
    access_->picturesChanged();
}

void BoardView::showSprite(int n)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    sprites_[static_cast<size_t>(n)].visible = true;
    touch(n);
}

void BoardView::hideSprite(int n)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    touch(n);
    sprites_[static_cast<size_t>(n)].visible = false;
}

bool BoardView::spriteExists(int n) const
{
    return valid(n) && sprites_[static_cast<size_t>(n)].exists;
}

bool BoardView::spriteVisible(int n) const
{
    return spriteExists(n) && sprites_[static_cast<size_t>(n)].visible;
}

QPoint BoardView::spritePos(int n) const
{
    return spriteExists(n) ? sprites_[static_cast<size_t>(n)].pos : QPoint();
}

const QImage* BoardView::spritePicture(int n) const
{
    return spriteExists(n) ? sprites_[static_cast<size_t>(n)].picture : nullptr;
}

QRect BoardView::spriteRect(int n) const
{
    if (!spriteExists(n))
        return {};
    const Sprite& s = sprites_[static_cast<size_t>(n)];
    return s.picture ? QRect(s.pos, logicalSize(*s.picture)) : QRect();
}

int BoardView::spriteAt(QPoint p) const { return spriteAt(QPointF(p)); }

int BoardView::spriteAt(QPointF p) const
{
    // The device pixel under the pointer, and the device pixels of each sprite.
    const qreal ratio = devicePixelRatioF();
    const QPointF origin = QPointF(mapTo(window(), QPoint(0, 0))) * ratio;
    const QPoint pixel(static_cast<int>(std::floor(origin.x() + p.x() * ratio + 1e-6)),
                       static_cast<int>(std::floor(origin.y() + p.y() * ratio + 1e-6)));
    for (int16_t n : stack_) {
        const Sprite& s = sprites_[static_cast<size_t>(n)];
        if (s.visible && s.picture && deviceRect(s.pos, logicalSize(*s.picture), ratio, origin).contains(pixel))
            return n;
    }
    return 0;
}

QRect BoardView::spritesBounds() const
{
    QRect r;
    for (int16_t n : stack_)
        if (sprites_[static_cast<size_t>(n)].visible)
            r |= spriteRect(n);
    return r;
}

void BoardView::paintBoard(QPainter& painter, const QRect& area) const
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    if (ratio == 1) {
        painter.fillRect(area, QColor(kBoardColour));
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            const Sprite& s = sprites_[static_cast<size_t>(*it)];
            if (s.visible && s.picture && area.intersects(QRect(s.pos, s.picture->size())))
                painter.drawImage(s.pos, *s.picture);
        }
        return;
    }
    // Above ratio 1 the pictures made for the ratio are copied in device
    // pixels: the painter is turned to device pixels (its scale undone, the
    // offset of the widget in its window kept) and each picture put at the
    // rounded device position of its sprite.
    const QRect wide = area.adjusted(-1, -1, 1, 1);  // the rounded edges of the area
    painter.fillRect(wide, QColor(kBoardColour));
    const QPointF origin = painter.deviceTransform().map(QPointF(0, 0));
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    const QPointF base = painter.deviceTransform().map(QPointF(0, 0));
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const Sprite& s = sprites_[static_cast<size_t>(*it)];
        if (!s.visible || !s.picture)
            continue;
        const QSize size = logicalSize(*s.picture);
        if (!wide.intersects(QRect(s.pos, size)))
            continue;
        const QRect to = deviceRect(s.pos, size, ratio, origin);
        if (s.picture->devicePixelRatio() == ratio && s.picture->size() == to.size()) {
            // The same pixels seen as a picture of ratio 1, which the painter copies unscaled.
            const QImage pixels(s.picture->constBits(), s.picture->width(), s.picture->height(),
                                s.picture->bytesPerLine(), s.picture->format());
            painter.drawImage(QPointF(to.topLeft()) - base, pixels);
        } else {
            painter.drawImage(QRectF(QPointF(to.topLeft()) - base, QSizeF(to.size())), *s.picture);
        }
    }
    painter.restore();
}

void BoardView::paintEvent(QPaintEvent* event)
{
    followRatio();
    QPainter painter(this);
    paintBoard(painter, event->rect());
    focus_->paintRing(painter);
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    focus_->pressed();
    pressed_ = true;
    doublePress_ = false;
    pressTarget_ = spriteAt(event->position());
}

void BoardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    focus_->pressed();
    pressed_ = true;
    doublePress_ = true;
    pressTarget_ = spriteAt(event->position());
}

void BoardView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    const int target = spriteAt(event->position());
    if (target != pressTarget_)
        return;
    if (target == 0) {
        // The background has no double-click action of its own.
        if (!doublePress_)
            emit backgroundClicked();
    } else if (doublePress_) {
        emit spriteDoubleClicked(target);
    } else {
        emit spriteClicked(target);
    }
}

void BoardView::keyPressEvent(QKeyEvent* event)
{
    if (!focus_->key(*event))
        QWidget::keyPressEvent(event);
}

void BoardView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // A screen reader hears the tile, not only the board, when the board
    // takes the focus back (the window activated, a menu closed).
    if (focus_->settled())
        access_->focusMoved(focus_->lastTile());
    else
        focus_->tile();  // finds the tile, and tells the reader
}

}  // namespace plitar
