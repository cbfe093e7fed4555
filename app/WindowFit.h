// How the window grows so that the whole board is in view: never smaller
// than it is, never past the free area of its screen.
#pragma once

#include <QRect>
#include <QSize>

namespace plitar {

// The window's outer rectangle (frame included) after growing so that its
// client area, now `client` inside `frame`, holds `need`. Each side grows
// only as far as the board asks and the screen's `available` area allows;
// a window that grew past the area's right or bottom edge moves back onto it.
// A window that holds the board already comes back unchanged, wherever it is.
QRect grownFrame(const QRect& frame, const QSize& client, const QSize& need, const QRect& available);

}  // namespace plitar
