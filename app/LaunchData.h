// What the launcher gave this start, as a second start hands it to the
// running copy in the platform data of org.freedesktop.Application.Activate.
#pragma once

#include <QVariantMap>

namespace plitar {

// "activation-token" from XDG_ACTIVATION_TOKEN (Wayland) and
// "desktop-startup-id" from DESKTOP_STARTUP_ID (X), where set.
QVariantMap launcherPlatformData();

}  // namespace plitar
