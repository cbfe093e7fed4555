// The keyboard focus on the board: one tile holds it. The arrow keys, Tab
// and Shift+Tab move it (view/FocusRules.h says where) and show a ring over
// the tile; the next mouse press on the board hides the ring again. Space and
// Enter, while the ring is shown, act on the focused tile exactly as a press
// on it does. When the focused tile leaves the board, the focus goes to the
// nearest tile left. With the mouse alone nothing of this is ever drawn.
#pragma once

#include <QRect>
#include <cstdint>

class QKeyEvent;
class QPainter;

namespace plitar {

class BoardView;
class BoardTiles;

class BoardFocus {
public:
    explicit BoardFocus(BoardView& view) : view_(view) {}

    // The focused tile, found anew first if its tile has gone; 0 on an empty board.
    int tile();
    // The focused tile as last settled, without looking for a new one.
    int lastTile() const { return tile_; }
    // False while the focused tile has gone and no other has been found yet.
    bool settled() const { return !lost_; }
    bool ringShown() const { return ring_; }
    // Moves the focus to sprite n (which must exist); shows the ring if asked.
    void moveTo(int n, bool showRing);

    // A key pressed on the board: true when it is one of the board's keys.
    bool key(const QKeyEvent& event);
    // A mouse press on the board hides the ring.
    void pressed();
    void spriteGone(int n);
    void spriteMade(int n);
    // Draws the ring over everything, when it is shown.
    void paintRing(QPainter& painter) const;

private:
    QRect ringRect() const;
    void settle();
    void settleLater();

    BoardView& view_;
    int16_t tile_ = 0;
    bool ring_ = false;
    bool lost_ = true;        // the focused tile has gone: find a new one
    bool queued_ = false;     // a settle is queued behind the handler that removed it
    bool hasCell_ = false;    // where the focus last was, for the nearest tile
    int cellX_ = 0, cellY_ = 0;
};

}  // namespace plitar
