// What the board needs to know of the tiles behind its sprites to move the
// keyboard focus and to tell a screen reader about them. The window answers
// from the game state; the view itself knows only pictures and positions.
#pragma once

#include <cstdint>
#include <vector>

namespace plitar {

struct TileFacts {
    int16_t n = 0;                // tile number (its sprite's index); 0 for no tile
    int16_t x = 0, y = 0, z = 0;  // its origin cell
    int16_t face = 0;
    bool free = false;      // nothing lies on it and one side is open: it may be taken
    bool onTop = false;     // nothing lies on it
    bool selected = false;
};

class BoardTiles {
public:
    virtual ~BoardTiles() = default;
    // Every tile on the board, in scan order (layer, row, column).
    virtual const std::vector<TileFacts>& tiles() = 0;
    // One tile; n is 0 in the answer when tile n is not on the board.
    virtual TileFacts tile(int n) = 0;
};

}  // namespace plitar
