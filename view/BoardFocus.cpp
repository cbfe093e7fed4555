#include "view/BoardFocus.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

#include "view/BoardAccessible.h"
#include "view/BoardTiles.h"
#include "view/BoardView.h"
#include "view/FocusRules.h"

namespace plitar {

namespace {

// The ring: a dark line outside and a light one inside it, so that it shows
// on the pale, the yellow and the grey faces as well as on the board colour.
constexpr int kRingWidth = 2;
const QColor kRingOuter(0, 0, 0);
const QColor kRingInner(255, 255, 255);

}  // namespace

int BoardFocus::tile()
{
    settle();
    return tile_;
}

void BoardFocus::settle()
{
    if (!lost_)
        return;
    BoardTiles* tiles = view_.tiles();
    if (!tiles)
        return;
    const int16_t n = nearestTile(tiles->tiles(), hasCell_, cellX_, cellY_);
    if (n == 0)
        return;  // an empty board: the focus waits for the next deal
    moveTo(n, ring_);
}

void BoardFocus::settleLater()
{
    // The tile is found once the handler that removed the old one has ended,
    // when the board holds what it will show. Only a shown ring or a screen
    // reader needs it at once; otherwise the next use finds it.
    if (queued_ || !(ring_ || QAccessible::isActive()))
        return;
    queued_ = true;
    QPointer<BoardView> view(&view_);
    QMetaObject::invokeMethod(
        &view_,
        [this, view] {
            if (!view)
                return;
            queued_ = false;
            settle();
        },
        Qt::QueuedConnection);
}

void BoardFocus::moveTo(int n, bool showRing)
{
    if (!view_.spriteExists(n))
        return;
    const bool moved = n != tile_ || lost_;
    if (ring_)
        view_.update(ringRect());
    tile_ = static_cast<int16_t>(n);
    lost_ = false;
    ring_ = showRing;
    if (BoardTiles* tiles = view_.tiles()) {
        const TileFacts t = tiles->tile(n);
        if (t.n != 0) {
            hasCell_ = true;
            cellX_ = t.x;
            cellY_ = t.y;
        }
    }
    if (ring_)
        view_.update(ringRect());
    if (moved)
        view_.accessibility().focusMoved(n);
}

bool BoardFocus::key(const QKeyEvent& event)
{
    BoardTiles* tiles = view_.tiles();
    if (!tiles)
        return false;
    // Shortcuts with Ctrl, Alt or Meta are not the board's.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    FocusStep step{};
    switch (event.key()) {
    case Qt::Key_Left: step = FocusStep::Left; break;
    case Qt::Key_Right: step = FocusStep::Right; break;
    case Qt::Key_Up: step = FocusStep::Up; break;
    case Qt::Key_Down: step = FocusStep::Down; break;
    case Qt::Key_Tab: step = (event.modifiers() & Qt::ShiftModifier) ? FocusStep::PreviousFree : FocusStep::NextFree; break;
    case Qt::Key_Backtab: step = FocusStep::PreviousFree; break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A stray key never plays a tile for a player who uses the mouse.
        if (ring_ && tile() != 0)
            view_.activateTile(tile_);
        return true;
    default: return false;
    }
    const int from = tile();
    if (from == 0)
        return true;
    const int16_t to = stepFocus(tiles->tiles(), static_cast<int16_t>(from), step);
    moveTo(to != 0 ? to : from, true);
    return true;
}

void BoardFocus::pressed()
{
    if (!ring_)
        return;
    ring_ = false;
    view_.update(ringRect());
}

void BoardFocus::spriteGone(int n)
{
    if (n != tile_ || lost_)
        return;
    if (ring_)
        view_.update(ringRect());
    lost_ = true;
    settleLater();
}

void BoardFocus::spriteMade(int /*n*/)
{
    if (lost_)
        settleLater();
}

QRect BoardFocus::ringRect() const
{
    // The ring lies inside the sprite; one pixel more covers the rounding of a scaled screen.
    return view_.spriteRect(tile_).adjusted(-1, -1, 1, 1);
}

void BoardFocus::paintRing(QPainter& painter) const
{
    if (!ring_ || lost_ || !view_.spriteVisible(tile_))
        return;
    const QRectF r = QRectF(view_.spriteRect(tile_));
    const qreal half = kRingWidth / 2.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRingOuter, kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(r.adjusted(half, half, -half, -half));
    painter.setPen(QPen(kRingInner, kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(r.adjusted(half + kRingWidth, half + kRingWidth, -half - kRingWidth, -half - kRingWidth));
    painter.restore();
}

}  // namespace plitar
