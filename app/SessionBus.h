// Whether the user's session bus answers, found out before Qt touches it, and
// keeping Qt away from a bus that does not answer or from starting one.
#pragma once

#include <chrono>
#include <string>

namespace plitar {

// The address the game would use: DBUS_SESSION_BUS_ADDRESS when set,
// otherwise the usual socket $XDG_RUNTIME_DIR/bus when it exists; empty when
// the user has no bus. A bus is never started for the game.
std::string sessionBusAddress();

// Connects to the bus at `address` (its unix socket entries: path= or
// abstract=), authenticates and says Hello; true when the bus answered within
// `limit`. A bus that takes the connection and then stays silent (a stopped
// or hung daemon) answers false once the time is up.
bool sessionBusAnswers(const std::string& address, std::chrono::milliseconds limit);

// Decides once, before the application object exists, whether the game uses a
// session bus, and makes Qt agree: a bus that answers within `limit` is given
// to Qt by its address; otherwise Qt is pointed at an address that fails at
// once, so that nothing in Qt (the menu bar's look for a global menu, the
// accessibility bridge) waits on a silent bus or tries to launch one.
// Returns whether there is a bus.
bool settleSessionBus(std::chrono::milliseconds limit);

}  // namespace plitar
