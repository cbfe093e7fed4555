// The rules written out word for word, every tile found by walking the board in
// scan order: slow, but plainly right. The oracle for the fast rules in the
// tests, and their yardstick in the benchmarks.
#pragma once

#include <cstdint>
#include <functional>

#include "board/modPlitar.h"

namespace plitar::literal {

// The first cell in scan order holding tile n; false when there is none.
bool findTile(const modPlitar& g, int16_t n, int& x, int& y, int& z);
// 1 free, 0 blocked or n = 0, -1 when tile n is not on the board.
int enSel(const modPlitar& g, int16_t n);
int pairs(const modPlitar& g);
// The shuffle and the deal, drawing index floor(k * r) + 1 from `rnd`.
void sort(modPlitar& g, const std::function<float()>& rnd);
void set144(modPlitar& g, const std::function<float()>& rnd);

}  // namespace plitar::literal
