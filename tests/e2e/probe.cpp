// Helpers of the end-to-end test.
//
//   e2e_probe shot.png boardLeft boardTop
// Reads a screenshot of the board and names the layout it shows: the one (at
// tile size 56) for which every tile's place holds a tile picture and every
// pixel outside all tile places shows the board colour. Prints the catalog
// number, or 0 when no layout fits.
//
//   e2e_probe inview shot.png boardLeft boardTop boardWidth boardHeight NUMBER SIZE
// Says whether the board of layout NUMBER at tile size SIZE is wholly in
// view in a screenshot of the screen whose client area is at boardLeft,
// boardTop and as large as given: every tile's place ends inside the client
// area and the screen, and shows a tile picture near its lower edge. Tiles of
// high layers in the top row may reach above the client area. Prints "ok",
// or the first tile out of view, and exits with 0 or 1.
//
//   e2e_probe hold NAME
// Holds NAME, a socket path when it begins with '/' and a name in the
// abstract namespace otherwise, listening and never taking a connection,
// until killed: a bus that does not answer, or someone else's process that
// took the name.
//
//   e2e_probe iconify WINDOW
// Iconifies an X window as a window manager does (unmapped, WM_STATE Iconic).
#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "maps/modMaps.h"
#include "view/Geometry.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
// Xlib last: its macros clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

int inview(char** argv)
{
    const QImage shot(QString::fromLocal8Bit(argv[0]));
    const QPoint origin(std::atoi(argv[1]), std::atoi(argv[2]));
    const QRect client(origin, QSize(std::atoi(argv[3]), std::atoi(argv[4])));
    const int number = std::atoi(argv[5]);
    const plitar::SizeGeometry* g = plitar::geometryOf(static_cast<int16_t>(std::atoi(argv[6])));
    if (shot.isNull() || !g || number < 1 || number > 46) {
        std::fprintf(stderr, "e2e_probe inview: bad arguments\n");
        return 2;
    }
    const QRect screen = shot.rect();
    const plitar::LayoutRecord& rec = plitar::layoutCatalog()[static_cast<size_t>(number - 1)];
    for (const plitar::Origin& o : plitar::expandLayout(rec)) {
        const QRect place(origin + QPoint(plitar::cellLeft(*g, o.x, o.y, o.z), plitar::cellTop(*g, o.x, o.y, o.z)),
                          QSize(g->width, g->height));
        const QPoint low(place.center().x(), place.bottom() - 3);
        const bool whole = place.right() <= client.right() && place.bottom() <= client.bottom() &&
                           screen.contains(place.bottomRight()) && QColor(shot.pixel(low)) != kBoard;
        if (!whole) {
            std::printf("tile at %d,%d,%d: %d,%d %dx%d outside %d,%d %dx%d\n", o.x, o.y, o.z, place.x(), place.y(),
                        place.width(), place.height(), client.x(), client.y(), client.width(), client.height());
            return 1;
        }
    }
    std::printf("ok\n");
    return 0;
}

int hold(const char* name)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const size_t skip = name[0] == '/' ? 0 : 1;  // an abstract name begins with a NUL
    const size_t n = std::min(std::strlen(name), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + skip, name, n);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr),
               static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + skip + n)) != 0 ||
        ::listen(fd, 4) != 0) {
        std::perror("e2e_probe hold");
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

int iconify(const char* window)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const Window w = std::strtoul(window, nullptr, 0);
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    const long state[2] = {IconicState, None};
    XUnmapWindow(d, w);
    XChangeProperty(d, w, wmState, wmState, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(state), 2);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 9 && std::strcmp(argv[1], "inview") == 0)
        return inview(argv + 2);
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0)
        return hold(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "iconify") == 0)
        return iconify(argv[2]);
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
