// What a launcher gives a start (activation token, startup id): taken from
// the environment, carried in the platform data, and the time a startup id
// carries.
#include <gtest/gtest.h>

#include <QVariantMap>
#include <cstdlib>

#include "app/LaunchTokens.h"

namespace plitar::test {
namespace {

TEST(LaunchTokens, TakenFromTheEnvironmentAndRemovedThere)
{
    ::setenv("XDG_ACTIVATION_TOKEN", "token-1", 1);
    ::setenv("DESKTOP_STARTUP_ID", "id-1_TIME5", 1);
    const LaunchTokens t = LaunchTokens::takeFromEnvironment();
    EXPECT_EQ(t.activationToken, "token-1");
    EXPECT_EQ(t.startupId, "id-1_TIME5");
    EXPECT_EQ(std::getenv("XDG_ACTIVATION_TOKEN"), nullptr);
    EXPECT_EQ(std::getenv("DESKTOP_STARTUP_ID"), nullptr);

    const LaunchTokens none = LaunchTokens::takeFromEnvironment();
    EXPECT_TRUE(none.activationToken.isEmpty());
    EXPECT_TRUE(none.startupId.isEmpty());
    EXPECT_TRUE(none.platformData().isEmpty());  // nothing given: nothing sent
}

TEST(LaunchTokens, PlatformDataCarriesBothAndIgnoresWhatIsNotText)
{
    const LaunchTokens t{QStringLiteral("tok"), QStringLiteral("launch 1_TIME7")};
    const QVariantMap data = t.platformData();
    EXPECT_EQ(data.value("activation-token").toString(), "tok");
    EXPECT_EQ(data.value("desktop-startup-id").toString(), "launch 1_TIME7");
    const LaunchTokens back = LaunchTokens::fromPlatformData(data);
    EXPECT_EQ(back.activationToken, t.activationToken);
    EXPECT_EQ(back.startupId, t.startupId);

    // Another program may send anything: a number or a list is no token.
    const LaunchTokens odd = LaunchTokens::fromPlatformData(
        {{"activation-token", 42}, {"desktop-startup-id", QStringList{"a", "b"}}, {"other", "x"}});
    EXPECT_TRUE(odd.activationToken.isEmpty());
    EXPECT_TRUE(odd.startupId.isEmpty());
}

TEST(LaunchTokens, TimeOfTheStartupId)
{
    const struct {
        const char* id;
        uint32_t time;
    } cases[] = {
        {"xdg-launch/host-123-0_TIME4711", 4711},
        {"a_TIME1_TIME2", 2},             // the last one counts
        {"a_TIME4294967295", 4294967295u},
        {"a_TIME4294967296", 0},          // beyond X's 32-bit time: none
        {"a_TIME", 0},
        {"a_TIME12x", 0},
        {"a_TIME-5", 0},
        {"no-time-here", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startupTime(QString::fromUtf8(c.id)), c.time) << c.id;
}

}  // namespace
}  // namespace plitar::test
