// Bringing the window forward under Wayland, through the compositor's
// activation protocol (xdg-activation).
#pragma once

class QString;
class QWindow;

namespace plitar {

// Asks the compositor to activate the window with a launcher's token. Without
// a token the window asks with one of its own that carries no user action,
// which compositors answer by marking the window as wanting attention (or by
// activating it where their rules allow). Qt 6.4 activates with a token only
// from its environment variable and, without one, only a window that has the
// focus already, so the protocol is spoken here on Qt's own connection.
// Does nothing when the program does not run on Wayland, when the window has
// no surface, or when the compositor does not offer the protocol.
void activateOnWayland(QWindow* window, const QString& token);

}  // namespace plitar
