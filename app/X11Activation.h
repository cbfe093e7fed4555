// Activating the window under X the way a task bar does for the user, and
// completing a launcher's startup notification.
#pragma once

#include <cstdint>

class QString;
class QWidget;

namespace plitar {

// Asks the X window manager to activate the window on the user's behalf (as a
// task bar or pager does), which focus-stealing prevention lets through where
// a program's own request, stamped with the time of its last event, may be
// refused. The request carries the time of the user's action that led to it
// (that of a launcher's startup id), or 0 for the current time. Without a
// window manager the window gets the keyboard focus.
// Does nothing when the program does not run on X.
void activateOnX11(QWidget* window, uint32_t userTime);

// Tells the launcher that the start it announced with this startup id is
// complete (the startup notification's "remove" message), so that no busy
// cursor or launch feedback is left waiting for it, and marks the window as
// the one that start led to. Does nothing off X or without an id.
void completeStartupOnX11(QWidget* window, const QString& startupId);

}  // namespace plitar
