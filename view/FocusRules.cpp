#include "view/FocusRules.h"

#include <cstdlib>
#include <limits>

namespace plitar {

namespace {

const TileFacts* findTile(const std::vector<TileFacts>& tiles, int16_t n, size_t& at)
{
    for (size_t i = 0; i < tiles.size(); ++i)
        if (tiles[i].n == n) {
            at = i;
            return &tiles[i];
        }
    return nullptr;
}

int16_t arrowStep(const std::vector<TileFacts>& tiles, const TileFacts& from, FocusStep step)
{
    const TileFacts* best = nullptr;
    int bestScore = 0, bestAside = 0;
    for (const TileFacts& t : tiles) {
        if (!t.onTop || t.n == from.n)
            continue;
        const int dx = t.x - from.x, dy = t.y - from.y;
        int along = 0, aside = 0;
        switch (step) {
        case FocusStep::Right: along = dx, aside = std::abs(dy); break;
        case FocusStep::Left: along = -dx, aside = std::abs(dy); break;
        case FocusStep::Down: along = dy, aside = std::abs(dx); break;
        case FocusStep::Up: along = -dy, aside = std::abs(dx); break;
        default: return 0;
        }
        if (along <= 0 || aside > along)
            continue;
        const int score = along + 2 * aside;
        // Scan order comes first in the list, so only a strictly better tile replaces it.
        if (!best || score < bestScore || (score == bestScore && aside < bestAside) ||
            (score == bestScore && aside == bestAside && t.z > best->z)) {
            best = &t;
            bestScore = score;
            bestAside = aside;
        }
    }
    return best ? best->n : int16_t{0};
}

int16_t freeStep(const std::vector<TileFacts>& tiles, size_t at, bool found, bool forward)
{
    const size_t count = tiles.size();
    if (count == 0)
        return 0;
    // Without a tile to start from, Tab begins at the first tile and Shift+Tab at the last.
    size_t i = found ? at : (forward ? count - 1 : 0);
    for (size_t k = 0; k < count; ++k) {
        i = forward ? (i + 1) % count : (i + count - 1) % count;
        if (tiles[i].free && !(found && i == at))
            return tiles[i].n;
    }
    return 0;
}

}  // namespace

int16_t stepFocus(const std::vector<TileFacts>& tiles, int16_t from, FocusStep step)
{
    size_t at = 0;
    const TileFacts* own = findTile(tiles, from, at);
    switch (step) {
    case FocusStep::NextFree: return freeStep(tiles, at, own != nullptr, true);
    case FocusStep::PreviousFree: return freeStep(tiles, at, own != nullptr, false);
    default: return own ? arrowStep(tiles, *own, step) : nearestTile(tiles, false, 0, 0);
    }
}

int16_t nearestTile(const std::vector<TileFacts>& tiles, bool hasCell, int x, int y)
{
    if (!hasCell) {
        for (const TileFacts& t : tiles)
            if (t.free)
                return t.n;
        return tiles.empty() ? int16_t{0} : tiles.front().n;
    }
    const TileFacts* best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (const TileFacts& t : tiles) {
        if (!t.onTop)
            continue;
        const int d = (t.x - x) * (t.x - x) + (t.y - y) * (t.y - y);
        if (d < bestDistance || (d == bestDistance && t.z > best->z)) {
            best = &t;
            bestDistance = d;
        }
    }
    return best ? best->n : int16_t{0};
}

}  // namespace plitar
