// Proof of the layout records: the counts, the stacking and the span of each
// layout, and the order of the catalog and its menus. The tests run it over
// every record; a record that breaks a rule shows up with its caption and
// the offending cell.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "maps/modMaps.h"

namespace plitar {

// Everything wrong with one record, one line each, every line beginning with
// the layout's caption and number; empty when the record is sound:
// - each layer line follows the notation, the layers run 1, 2, 3, ... from
//   the bottom, and the count of each line equals the origins its groups give;
// - the layer counts add up to the tile count, which is even, at most
//   kMaxTiles (the size of the sprite table and the dealer's lists), and 144
//   for a layout of the "Игра" menu;
// - no origin is given twice and no two tiles of one layer overlap;
// - every tile above layer 1 rests fully on the layer below: each of the four
//   cells of its footprint is covered by the footprint of a tile there;
// - origins lie within x 1..39, y 1..19, z 1..9;
// - the columns and rows the tiles cover are exactly the stated span.
std::vector<std::string> checkLayout(const LayoutRecord& record);

// What is wrong with a whole catalog besides its single records: the numbers
// run 1, 2, 3, ...; builder and menu item names follow the number
// (subGame1..6, then subGameL1..); names are unique; the first six stand in
// "Игра" at their own place; the others stand in alphabetical order of their
// captions, the first twenty in "Набор раскладов 1", the rest in
// "Набор раскладов 2".
std::vector<std::string> checkCatalog(std::span<const LayoutRecord> catalog);

}  // namespace plitar
