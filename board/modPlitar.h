// The whole state of one game and the rules that act on it: the board grids,
// the sprite table, the selection, dealing, the free-tile rule, the open-pair
// count, pair removal, the caption and the shuffle. No toolkit in here: the
// window is reached only through PlitarHost.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "board/Grid.h"
#include "board/Host.h"
#include "board/Tiles.h"

namespace plitar {

class modPlitar {
public:
    explicit modPlitar(PlitarHost& host) : host_(host) {}
    modPlitar(const modPlitar&) = delete;
    modPlitar& operator=(const modPlitar&) = delete;

    // --- module variables, read and written directly by every part of the game ---
    int16_t nSize = 0;     // current tile size code: 70, 63, 56 or 49
    int16_t nSizeOld = 0;  // tile size for which the sprites were last placed
    Grid aMap;             // 0 empty; 1 while a layout is being built; then the face code
    std::array<int16_t, kMaxTiles + 1> aLoaded{};  // [n] = 1 while sprite n exists (1..144)
    Grid aLeft;            // pixel x of a tile picture whose origin is this cell
    Grid aTop;             // pixel y of the same
    Grid aIndex;           // tile number of the tile whose origin is this cell
    int16_t nSel1 = 0;     // the selected tile, 0 when none
    int16_t nSel2 = 0;     // the second tile, only while one click is handled
    int16_t nTotal = 0;    // tiles the current deal started with

    // --- board ---
    void subClear();
    void subSet144();

    // --- free tiles and open pairs ---
    int16_t funEnSel(int16_t n);
    int16_t funPairs();

    // --- selection and removal ---
    void subSetIndex(int16_t n);
    void subRemIndex(int16_t n);
    int16_t funEnDel();
    void subDelCur(int16_t n);
    // A click on tile n, by the click rules: a blocked tile does nothing; a
    // free one is selected, unselected when it is the selected tile, or
    // tested against the selected tile, which it either takes off the board
    // with it (funDelPair) or takes the selection from. 1 when a pair left
    // the board, and every sprite must be repainted; else 0.
    int16_t funClick(int16_t n);
    // Takes the pair nSel1, nSel2 off the board and clears the selection,
    // writes the caption and shuffles by itself if that leaves no open pair.
    // Answers what funAutoSort answered: 1 when it shuffled.
    int16_t funDelPair();

    // --- caption and shuffle ---
    void subCaption();
    void subSort();
    int16_t funAutoSort();
    // "Перемешать": shuffles once, then again until an open pair exists, at
    // most 101 times in all, and writes the caption with the notice. Answers
    // the number of shuffles; 0 on an empty board, where nothing changes.
    int16_t funSort();

    // Tiles still on the board: the n with aLoaded(n) = 1.
    int16_t funTilesLeft() const;
    // One random draw among k entries: 1..k, never outside, whatever the source gives.
    int16_t funDraw(int16_t k);

    PlitarHost& host() const { return host_; }

private:
    struct Spot {
        int cell = -1;  // flat grid index, -1 for none
        int16_t x = 0, y = 0, z = 0;
    };
    // Derived from the grids and rebuilt only when someone else wrote them:
    // the occupied cells in scan order, and the first cell of each tile number.
    void syncTiles();
    void markSynced();
    Spot findTile(int16_t n);  // cell == -1 when tile n is not on the board
    Spot needTile(int16_t n, const char* title);  // "Кость не найдена" when absent
    bool isFreeAt(const Spot& s) const;

    PlitarHost& host_;
    std::vector<Spot> occupied_;                  // cells with aMap != 0, scan order
    std::array<Spot, kMaxTiles + 1> tileSpot_{};  // tile number 1..144 -> its first cell
    uint64_t mapGen_ = ~uint64_t{0}, indexGen_ = ~uint64_t{0};
    bool uniqueNumbers_ = false;  // every tile number on the board is 1..144 and stands once
};

}  // namespace plitar
