#include "app/LaunchTokens.h"

#include <cstdlib>

namespace plitar {

namespace {
const QString kActivationToken = QStringLiteral("activation-token");
const QString kStartupId = QStringLiteral("desktop-startup-id");

QString take(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    ::unsetenv(name);
    return value;
}
}  // namespace

LaunchTokens LaunchTokens::takeFromEnvironment()
{
    LaunchTokens t;
    t.activationToken = take("XDG_ACTIVATION_TOKEN");
    t.startupId = take("DESKTOP_STARTUP_ID");
    return t;
}

QVariantMap LaunchTokens::platformData() const
{
    QVariantMap data;
    if (!activationToken.isEmpty())
        data.insert(kActivationToken, activationToken);
    if (!startupId.isEmpty())
        data.insert(kStartupId, startupId);
    return data;
}

LaunchTokens LaunchTokens::fromPlatformData(const QVariantMap& data)
{
    const auto text = [&data](const QString& key) {
        const QVariant v = data.value(key);
        return v.typeId() == QMetaType::QString ? v.toString() : QString();
    };
    return {text(kActivationToken), text(kStartupId)};
}

uint32_t startupTime(const QString& startupId)
{
    // The last "_TIME" counts: the part before it is the launcher's own and
    // may contain anything.
    const qsizetype at = startupId.lastIndexOf(QLatin1String("_TIME"));
    if (at < 0)
        return 0;
    bool ok = false;
    const qulonglong time = QStringView(startupId).mid(at + 5).toULongLong(&ok);
    return ok && time <= UINT32_MAX ? static_cast<uint32_t>(time) : 0;
}

}  // namespace plitar
