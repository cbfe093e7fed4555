// Prints the tile origins of every built-in layout, one line per tile:
// catalog number, x, y, z. Layouts come in catalog order, the tiles of one
// layout in scan order (layer, then row, then column), so the output can be
// set beside the catalog block by block, or drawn as a gallery.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "maps/modMaps.h"

int main()
{
    for (const plitar::LayoutRecord& record : plitar::layoutCatalog()) {
        std::vector<plitar::Origin> origins = plitar::expandLayout(record);
        std::sort(origins.begin(), origins.end(), [](const plitar::Origin& a, const plitar::Origin& b) {
            if (a.z != b.z)
                return a.z < b.z;
            if (a.y != b.y)
                return a.y < b.y;
            return a.x < b.x;
        });
        for (const plitar::Origin& o : origins)
            std::printf("%d %d %d %d\n", record.number, o.x, o.y, o.z);
    }
    return 0;
}
