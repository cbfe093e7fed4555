#include "app/WindowFit.h"

#include <algorithm>

namespace plitar {

QRect grownFrame(const QRect& frame, const QSize& client, const QSize& need, const QRect& available)
{
    if (client.width() >= need.width() && client.height() >= need.height())
        return frame;
    // Frame, title and menu bar stay what they are; only the client area grows.
    const QSize chrome = frame.size() - client;
    const QSize wanted = (need + chrome).boundedTo(available.size());
    QRect grown(frame.topLeft(), frame.size().expandedTo(wanted));
    // Back onto the screen, right and bottom first, so that the top left
    // corner, with the menu bar and the window's title, stays in view.
    if (grown.width() > frame.width()) {
        grown.moveRight(std::min(grown.right(), available.right()));
        grown.moveLeft(std::max(grown.left(), available.left()));
    }
    if (grown.height() > frame.height()) {
        grown.moveBottom(std::min(grown.bottom(), available.bottom()));
        grown.moveTop(std::max(grown.top(), available.top()));
    }
    return grown;
}

}  // namespace plitar
