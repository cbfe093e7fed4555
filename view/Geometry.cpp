#include "view/Geometry.h"

#include "board/modPlitar.h"

namespace plitar {

namespace {
constexpr SizeGeometry kGeometry[] = {
    {70, 70, 80, 36, 41, 6, 7, 18},
    {63, 63, 72, 33, 37, 6, 7, 17},
    {56, 56, 64, 29, 33, 5, 6, 15},
    {49, 49, 56, 26, 29, 5, 6, 19},
};
}  // namespace

const SizeGeometry* geometryOf(int size)
{
    for (const auto& g : kGeometry)
        if (g.size == size)
            return &g;
    return nullptr;
}

void subReSize(modPlitar& game)
{
    const SizeGeometry* g = geometryOf(game.nSize);
    if (!g)
        return;
    forEachPlayableCell([&](int cell, int x, int y, int z) {
        game.aLeft.setIndex(cell, cellLeft(*g, x, y, z));
        game.aTop.setIndex(cell, cellTop(*g, x, y, z));
    });
}

}  // namespace plitar
