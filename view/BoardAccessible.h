// The board as screen readers see it, through Qt's accessibility interfaces
// (on Linux Qt carries them to AT-SPI): a list with one item per tile on the
// board, in scan order. An item is named by its face in words (board/
// TileNames.h); it is unavailable while blocked, selected while selected,
// and its description says whether it is free and on which layer it lies.
// Its default action is the click; its focus action moves the keyboard focus
// to it. Nothing here runs while no assistive technology is listening: the
// interfaces are made when one asks for them, and events go out only then.
#pragma once

#include <QAccessible>
#include <array>
#include <cstdint>

#include "board/Tiles.h"

class QAccessibleInterface;
class QObject;
class QString;

namespace plitar {

class BoardView;

// Keeps the interfaces of the tiles that a screen reader has asked for, and
// tells it what changes on the board.
class BoardAccessibility {
public:
    explicit BoardAccessibility(BoardView& view) : view_(view) {}
    ~BoardAccessibility();
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;

    // The interface of tile n, made at the first request; nullptr without its sprite.
    QAccessibleInterface* tile(int n);

    void spriteMade(int n);
    // Before sprite n goes: the reader hears it leave, and its interface goes with it.
    void spriteGone(int n);
    void focusMoved(int n);
    // A picture changed: names (a shuffle), free and selected states may have
    // changed; what changed is told once the handler has ended.
    void picturesChanged();

private:
    struct Told {
        int16_t face = 0;
        bool free = false;
        bool selected = false;
    };
    void tellChanges();

    BoardView& view_;
    std::array<QAccessible::Id, kMaxTiles + 1> ids_{};  // 0 while no interface exists
    std::array<Told, kMaxTiles + 1> told_{};
    bool queued_ = false;
};

// Qt's factory hook: the board's interface for a BoardView, else nullptr.
QAccessibleInterface* boardAccessibleFactory(const QString& className, QObject* object);

}  // namespace plitar
