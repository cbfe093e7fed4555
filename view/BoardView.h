// The board: the window's background and the tile sprites standing on it.
// A sprite is a picture at a pixel position; sprite n shows tile n. A new
// sprite goes beneath every sprite that exists, and the stacking never changes
// afterwards, so the tile created first covers everything it overlaps. The
// widget paints the sprites itself, bottom to top, and sends a press to the
// topmost visible sprite under the pointer.
//
// Positions are logical pixels. On a screen with a device pixel ratio p a
// sprite at logical (x, y) covers the device pixels from round(x * p),
// round(y * p) (counted from the window's corner, halves rounded up, as Qt
// rounds its update regions), as many as its picture has when the picture is
// made for p; such a picture is copied there pixel for pixel. A picture made
// for another ratio is scaled into the sprite's logical rectangle. A press
// goes to the topmost sprite covering the device pixel under the pointer.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "board/Tiles.h"

namespace plitar {

class TilePictures;
class BoardTiles;
class BoardFocus;
class BoardAccessibility;

class BoardView : public QWidget {
    Q_OBJECT
public:
    explicit BoardView(QWidget* parent = nullptr);
    ~BoardView() override;

    // The store the sprites' pictures come from. The view keeps it at the
    // screen's device pixel ratio: now, and whenever the window moves to a
    // screen with another ratio, when every sprite is given the same picture
    // made for the new ratio. Without a store the pictures stay as given.
    void setPictureSource(TilePictures* source);

    // --- sprite machinery (n = 1..144) ---
    void createSprite(int n);  // hidden, no picture, beneath all existing sprites
    void destroySprite(int n);
    void setSpritePos(int n, QPoint topLeft);
    // The sprite takes the picture's size; the picture must outlive its use.
    void setSpritePicture(int n, const QImage* picture);
    void showSprite(int n);
    void hideSprite(int n);

    // --- read-only queries, for the window's checks and for tests ---
    bool spriteExists(int n) const;
    bool spriteVisible(int n) const;
    QPoint spritePos(int n) const;
    const QImage* spritePicture(int n) const;
    // In logical pixels; empty when the sprite has no picture.
    QRect spriteRect(int n) const;
    // The topmost visible sprite whose picture covers the point, 0 for none.
    int spriteAt(QPoint p) const;
    int spriteAt(QPointF p) const;
    // Existing sprites from the top of the stack to the bottom.
    const std::vector<int16_t>& stack() const { return stack_; }
    // The rectangle that holds every visible sprite (empty when none).
    QRect spritesBounds() const;

    // Draws the background and every visible sprite of `area` bottom to top.
    void paintBoard(QPainter& painter, const QRect& area) const;

    QSize sizeHint() const override { return {911, 571}; }

    // --- the keyboard focus and screen readers (view/BoardFocus.h, view/BoardAccessible.h) ---
    // What the game says about the tiles behind the sprites; without it the
    // board takes no keys.
    void setTiles(BoardTiles* tiles) { tiles_ = tiles; }
    BoardTiles* tiles() const { return tiles_; }
    BoardFocus& focus() { return *focus_; }
    BoardAccessibility& accessibility() { return *access_; }
    // Runs the click rules on tile n, as a press on its sprite does.
    void activateTile(int n) { emit spriteClicked(n); }

signals:
    void spriteClicked(int n);
    void spriteDoubleClicked(int n);
    void backgroundClicked();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // Tab and Shift+Tab move over the tiles, not to another widget.
    bool focusNextPrevChild(bool) override { return false; }

private:
    struct Sprite {
        bool exists = false;
        bool visible = false;
        QPoint pos;
        const QImage* picture = nullptr;
    };
    bool valid(int n) const { return n >= 1 && n <= kMaxTiles; }
    void touch(int n);  // schedule a repaint of the sprite's current rectangle
    // Gives the pictures of the screen's ratio when the store's differs;
    // true if it did.
    bool followRatio();

    std::array<Sprite, kMaxTiles + 1> sprites_{};  // [0] is never a tile
    std::vector<int16_t> stack_;                   // top first
    // A click is a press and a release over the same target (a sprite or the
    // background); the second press of a double-click counts as the double-click.
    bool pressed_ = false;
    bool doublePress_ = false;
    int pressTarget_ = 0;
    TilePictures* source_ = nullptr;
    BoardTiles* tiles_ = nullptr;
    std::unique_ptr<BoardFocus> focus_;
    std::unique_ptr<BoardAccessibility> access_;
};

}  // namespace plitar
