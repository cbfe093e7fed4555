// Activating the window under X the way a task bar does for the user.
#pragma once

class QWidget;

namespace plitar {

// Asks the X window manager to activate the window on the user's behalf (as a
// task bar or pager does), which focus-stealing prevention lets through where
// a program's own request, stamped with the time of its last event, may be
// refused. Without a window manager the window gets the keyboard focus.
// Does nothing when the program does not run on X.
void activateOnX11(QWidget* window);

}  // namespace plitar
