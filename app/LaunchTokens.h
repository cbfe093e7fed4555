// What a launcher hands to the program it starts so that the program's window
// may take the focus: an activation token on Wayland, a startup id on X.
#pragma once

#include <QString>
#include <QVariantMap>
#include <cstdint>

namespace plitar {

struct LaunchTokens {
    QString activationToken;  // XDG_ACTIVATION_TOKEN: the Wayland compositor's token
    QString startupId;        // DESKTOP_STARTUP_ID: the X startup notification's id

    // Reads both from the environment and removes them there, so that they
    // reach no child process and Qt's X plugin does not act on the startup id
    // by itself. Called before the application object exists.
    static LaunchTokens takeFromEnvironment();

    // The platform data of org.freedesktop.Application's calls, which carries
    // both to a copy that already runs; keys that are missing or not text
    // count as not given.
    QVariantMap platformData() const;
    static LaunchTokens fromPlatformData(const QVariantMap& data);
};

// The time of the user's action that a startup id carries after "_TIME"
// (X server time, as the launcher got it with the click or key press); 0
// (the current time) when it carries none.
uint32_t startupTime(const QString& startupId);

}  // namespace plitar
