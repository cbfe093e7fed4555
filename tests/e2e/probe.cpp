// Reads a screenshot of the board and names the layout it shows: the one (at
// tile size 56) for which every tile's place holds a tile picture and every
// pixel outside all tile places shows the board colour. Prints the catalog
// number, or 0 when no layout fits.
//   e2e_probe shot.png boardLeft boardTop
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "maps/modMaps.h"
#include "view/Geometry.h"

namespace {

const QColor kBoard(192, 192, 255);

bool fits(const QImage& shot, QPoint origin, const plitar::LayoutRecord& rec)
{
    const plitar::SizeGeometry& g = *plitar::geometryOf(56);
    std::vector<QRect> places;
    for (const plitar::Origin& o : plitar::expandLayout(rec))
        places.emplace_back(plitar::cellLeft(g, o.x, o.y, o.z), plitar::cellTop(g, o.x, o.y, o.z), g.width,
                            g.height);
    const QRect client(0, 0, 911, 571);
    auto at = [&](QPoint p) { return QColor(shot.pixel(origin + p)); };
    for (const QRect& r : places) {
        const QPoint c = r.center();
        if (client.contains(c) && at(c) == kBoard)
            return false;  // no picture where a tile should stand
    }
    for (int y = 0; y < client.height(); y += 3)
        for (int x = 0; x < client.width(); x += 3) {
            bool inside = false;
            for (const QRect& r : places)
                if (r.contains(x, y)) {
                    inside = true;
                    break;
                }
            if (!inside && at({x, y}) != kBoard)
                return false;  // something drawn where no tile is
        }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: e2e_probe shot.png boardLeft boardTop\n");
        return 2;
    }
    const QImage shot(QString::fromLocal8Bit(argv[1]));
    const QPoint origin(std::atoi(argv[2]), std::atoi(argv[3]));
    if (shot.isNull() || !shot.rect().contains(QRect(origin, QSize(911, 571)))) {
        std::fprintf(stderr, "e2e_probe: no board in %s\n", argv[1]);
        return 2;
    }
    int found = 0;
    for (const plitar::LayoutRecord& rec : plitar::layoutCatalog())
        if (fits(shot, origin, rec)) {
            found = rec.number;
            break;
        }
    std::printf("%d\n", found);
    return 0;
}
