// Where the keyboard focus goes on the board. Tiles stand at their cells as
// the player sees the board from above: the column and row of the origin
// cell, the layer left aside (it only shifts the picture a little). The arrow
// keys step on tiles that nothing lies on; Tab and Shift+Tab on free tiles.
#pragma once

#include <cstdint>
#include <vector>

#include "view/BoardTiles.h"

namespace plitar {

enum class FocusStep : uint8_t { Left, Right, Up, Down, NextFree, PreviousFree };

// The tile the focus goes to from tile `from` (scan-ordered `tiles`), or 0
// when there is none that way and the focus stays.
//
// An arrow takes the tiles that nothing lies on and whose cell lies that way,
// within the quarter of the plane around the direction (for the right arrow:
// further right by d columns, and at most d rows up or down), and picks the
// one with the smallest d + 2 x (rows or columns aside): along a row first,
// then the nearest diagonal. Ties go to the one fewer aside, then to the
// uppermost layer, then to the first in scan order.
// Tab goes to the next free tile after `from` in scan order, Shift+Tab to
// the one before, round the end of the board either way.
int16_t stepFocus(const std::vector<TileFacts>& tiles, int16_t from, FocusStep step);

// Where the focus goes when its tile has gone (a removed pair, a new deal):
// the tile nothing lies on nearest to cell (x, y) as the crow flies, ties to
// the uppermost, then the first in scan order. With no cell to start from
// (hasCell false), the first free tile in scan order, else the first tile.
// 0 on an empty board.
int16_t nearestTile(const std::vector<TileFacts>& tiles, bool hasCell, int x, int y);

}  // namespace plitar
