// A window made with a fixed seed, plus helpers that click tiles where the
// player would.
#pragma once

#include <QPoint>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "app/frmMain.h"

namespace plitar::test {

std::unique_ptr<frmMain> makeWindow(uint32_t seed);

// A point of sprite n that no other sprite covers; fails the test if none.
QPoint visiblePoint(const frmMain& w, int n);

void clickTile(frmMain& w, int n);
void doubleClickTile(frmMain& w, int n);

// Cell of tile n (scan order); false when not on the board.
bool cellOf(const modPlitar& g, int n, int& x, int& y, int& z);

// Tile numbers on the board, ascending.
std::vector<int16_t> tilesOnBoard(const modPlitar& g);

// Two free tiles whose faces match (literal rules); {0, 0} when none.
std::pair<int16_t, int16_t> openPair(const modPlitar& g);

std::string caption(const frmMain& w);

// A tile of a hand-made board: its origin cell and face code.
struct Tile {
    int x, y, z;
    int16_t face;
};
// Clears the board and lays these tiles on it as a deal would, numbered
// backwards along the scan order, each with its sprite; the caption is
// written, nothing is shuffled. Returns the tile numbers in the order given.
std::vector<int16_t> layBoard(frmMain& w, const std::vector<Tile>& tiles);

// What the player sees agrees with the game state: one visible sprite per
// tile, on the pixel of its cell, with the picture of the display rule (the
// selected picture for the selected tile) and no other sprite; the caption
// begins with the counts; one layout item and the item of the current size
// carry their marks.
void expectViewMatchesGame(frmMain& w);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Starts layout `number` afresh through its menu item, as the player does.
    void start(int number);
    frmMain& w() { return *window_; }
    modPlitar& g() { return window_->game(); }
    BoardView& board() { return *window_->board(); }

    std::unique_ptr<frmMain> window_;
};

}  // namespace plitar::test
