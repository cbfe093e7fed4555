// The game's answers to the board about the tiles behind its sprites: where
// each lies, its face, and whether it is free, uncovered or selected, read
// from the game state when asked.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "board/modPlitar.h"
#include "view/BoardTiles.h"

namespace plitar {

class GameTiles : public BoardTiles {
public:
    explicit GameTiles(modPlitar& game) : game_(game) {}

    const std::vector<TileFacts>& tiles() override;
    TileFacts tile(int n) override;

private:
    struct Cell {
        int16_t x = 0, y = 0, z = 0;
    };
    // Where every tile lies, found again only when the tile grid has changed.
    void findCells();
    TileFacts factsAt(int16_t n, const Cell& c);

    modPlitar& game_;
    uint64_t cellsOf_ = ~uint64_t{0};       // the generation of aIndex they were found for
    std::vector<int16_t> order_;            // tile numbers in scan order
    std::array<Cell, kMaxTiles + 1> cells_{};  // 0 in z: not on the board
    std::vector<TileFacts> facts_;
};

}  // namespace plitar
