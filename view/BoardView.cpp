#include "view/BoardView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace plitar {

BoardView::BoardView(QWidget* parent) : QWidget(parent)
{
    setObjectName("board");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBoardColour);
    setPalette(pal);
    setAutoFillBackground(false);
    stack_.reserve(kMaxTiles);
}

void BoardView::touch(int n)
{
    const QRect r = spriteRect(n);
    if (!r.isEmpty() && sprites_[static_cast<size_t>(n)].visible)
        update(r);
}

void BoardView::createSprite(int n)
{
    if (!valid(n))
        return;
    if (sprites_[static_cast<size_t>(n)].exists)
        destroySprite(n);
    sprites_[static_cast<size_t>(n)] = Sprite{true, false, {}, nullptr};
    stack_.push_back(static_cast<int16_t>(n));
}

void BoardView::destroySprite(int n)
{
    if (!valid(n) || !sprites_[static_cast<size_t>(n)].exists)
        return;
    touch(n);
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
    return s.picture ? QRect(s.pos, s.picture->size()) : QRect();
}

int BoardView::spriteAt(QPoint p) const
{
    for (int16_t n : stack_)
        if (sprites_[static_cast<size_t>(n)].visible && spriteRect(n).contains(p))
            return n;
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
    painter.fillRect(area, kBoardColour);
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const Sprite& s = sprites_[static_cast<size_t>(*it)];
        if (s.visible && s.picture && area.intersects(QRect(s.pos, s.picture->size())))
            painter.drawImage(s.pos, *s.picture);
    }
}

void BoardView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    paintBoard(painter, event->rect());
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    doublePress_ = false;
    pressTarget_ = spriteAt(event->position().toPoint());
}

void BoardView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    doublePress_ = true;
    pressTarget_ = spriteAt(event->position().toPoint());
}

void BoardView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    const int target = spriteAt(event->position().toPoint());
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

}  // namespace plitar
