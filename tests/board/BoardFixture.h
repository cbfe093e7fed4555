// A small hand-made board: tiles put where a test wants them, with the fake window.
#pragma once

#include <gtest/gtest.h>

#include "FakeHost.h"
#include "board/modPlitar.h"

namespace plitar::testing {

class BoardTest : public ::testing::Test {
protected:
    FakeHost host;
    modPlitar g{host};

    // Tile n with face f, its origin at (x, y, z), with its sprite shown.
    void put(int16_t n, int x, int y, int z, int16_t f)
    {
        g.aMap.set(x, y, z, f);
        g.aIndex.set(x, y, z, n);
        g.aLoaded[n] = 1;
        if (n > g.nTotal)
            g.nTotal = n;
    }
    // What the window does after a deal: one sprite per tile.
    void showAll()
    {
        for (int n = 1; n <= g.nTotal; ++n)
            g.aLoaded[n] = 1;
    }
};

}  // namespace plitar::testing
