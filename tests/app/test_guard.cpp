// The single-copy guard without the window: the look at the session bus
// (answering, silent, missing), the choice of the private directory, the lock
// (held by a copy, by something that is not the game, a socket left behind)
// and a second start's request on its way to the running copy.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/InstanceLock.h"
#include "app/SessionBus.h"
#include "app/SingleInstance.h"

namespace plitar::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t);
}

class TempDir {
public:
    TempDir()
    {
        char name[] = "/tmp/plitar-guard-XXXXXX";
        path_ = ::mkdtemp(name);  // mode 0700
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Sets an environment variable for the life of this object.
class EnvVar {
public:
    EnvVar(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~EnvVar() { set(old_); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    void set(const std::optional<std::string>& v) { v ? ::setenv(name_, v->c_str(), 1) : ::unsetenv(name_); }
    const char* name_;
    std::optional<std::string> old_;
};

// A unix socket that takes connections into its queue and never says a word,
// as a stopped or hung bus daemon does. An abstract name when it begins with '@'.
class SilentListener {
public:
    explicit SilentListener(const std::string& name)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::memcpy(a.sun_path, name.data(), name.size());
        if (name[0] == '@')
            a.sun_path[0] = '\0';
        const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
        EXPECT_EQ(::bind(fd_, reinterpret_cast<const sockaddr*>(&a), len), 0) << name;
        EXPECT_EQ(::listen(fd_, 8), 0);
    }
    ~SilentListener() { ::close(fd_); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

// A session bus of the test's own, when dbus-daemon is installed.
class Bus {
public:
    explicit Bus(const std::string& socket)
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QString::fromStdString("--address=unix:path=" + socket)});
        if (!daemon_.waitForStarted(2000))
            return;
        for (int i = 0; i < 200 && !std::filesystem::exists(socket); ++i)
            QTest::qWait(10);
        up_ = std::filesystem::exists(socket);
    }
    ~Bus()
    {
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
    bool up() const { return up_; }

private:
    QProcess daemon_;
    bool up_ = false;
};

// Whether the bus answers, and how soon the look gives up: a bus that takes
// the connection and stays silent costs the whole limit and no more, one that
// is missing or of another kind nothing.
TEST(SessionBusProbe, SilentOrMissingBusesDoNotAnswer)
{
    const TempDir dir;
    const std::string abstractName = "plitar-test-silent-" + std::to_string(::getpid());
    const SilentListener silentPath(dir.path() + "/si lent");
    const SilentListener silentAbstract("@" + abstractName);
    struct Case {
        const char* what;
        std::string address;
        bool waits;  // connected, then waited for an answer
    };
    const Case cases[] = {
        {"a silent socket, the path escaped", "unix:path=" + dir.path() + "/si%20lent", true},
        {"a silent abstract socket", "unix:guid=0123,abstract=" + abstractName, true},
        {"no socket at the path", "unix:path=" + dir.path() + "/none", false},
        {"not a unix socket", "tcp:host=localhost,port=1", false},
        {"a server's address, not a client's", "unix:tmpdir=/tmp", false},
        {"nothing but separators", ";;", false},
    };
    constexpr auto limit = 300ms;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(sessionBusAnswers(c.address, limit));
        const auto took = since(start);
        if (c.waits) {
            EXPECT_GE(took, limit - 10ms);  // whole milliseconds
        }
        // Generous upper bounds: the machine may be loaded and the build sanitized.
        EXPECT_LT(took, c.waits ? limit + 1500ms : limit);
    }
}

TEST(SessionBusProbe, ARealBusAnswers)
{
    const TempDir dir;
    const Bus bus(dir.path() + "/bus");
    if (!bus.up())
        GTEST_SKIP() << "no dbus-daemon";
    EXPECT_TRUE(sessionBusAnswers("unix:path=" + dir.path() + "/bus", 5000ms));
    EXPECT_TRUE(sessionBusAnswers("unix:path=" + dir.path() + "/none;unix:path=" + dir.path() + "/bus", 5000ms));
}

// What Qt is given: the bus that answered, found where it was given or at
// the usual place; otherwise an address that fails at once, also when there
// is no bus at all (so that nothing launches one).
TEST(SessionBusProbe, QtIsGivenTheAnsweringBusOrNone)
{
    const TempDir dir;
    const Bus bus(dir.path() + "/bus");
    const TempDir silentDir;
    const SilentListener silent(silentDir.path() + "/bus");
    const TempDir emptyDir;
    struct Case {
        const char* what;
        std::optional<std::string> address, runtimeDir;
        bool answers;
        std::string given;
        bool needsBus;
    };
    const std::string busAddress = "unix:path=" + dir.path() + "/bus";
    const Case cases[] = {
        {"the bus given", busAddress, std::nullopt, true, busAddress, true},
        {"the bus at the usual place", std::nullopt, dir.path(), true, busAddress, true},
        {"a silent bus given", "unix:path=" + silentDir.path() + "/bus", dir.path(), false, "disabled:", false},
        {"a silent bus at the usual place", std::nullopt, silentDir.path(), false, "disabled:", false},
        {"no bus anywhere", std::nullopt, emptyDir.path(), false, "disabled:", false},
        {"no address, no runtime directory", std::nullopt, std::nullopt, false, "disabled:", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsBus && !bus.up())
            continue;
        const EnvVar address("DBUS_SESSION_BUS_ADDRESS", c.address);
        const EnvVar runtime("XDG_RUNTIME_DIR", c.runtimeDir);
        // A bus that answers gets time to spare on a loaded machine; a silent
        // one costs the whole limit.
        EXPECT_EQ(settleSessionBus(c.answers ? 5000ms : 300ms), c.answers);
        EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), c.given);
    }
}

// Only a directory of this user's that nobody else may enter holds the lock.
TEST(PrivateDirectory, OnlyAClosedDirectoryOfThisUser)
{
    const TempDir base;
    const std::string good = base.path() + "/good", open = base.path() + "/open", link = base.path() + "/link",
                      foreign = base.path() + "/foreign", deep = base.path() + "/" + std::string(90, 'd');
    ::mkdir(good.c_str(), 0700);
    ::mkdir(open.c_str(), 0755);
    ::chmod(open.c_str(), 0755);
    ::symlink(good.c_str(), link.c_str());
    ::mkdir(foreign.c_str(), 0700);
    const bool root = ::geteuid() == 0;
    if (root) {
        EXPECT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    ::mkdir(deep.c_str(), 0700);
    struct Case {
        const char* what;
        std::string path;
        bool taken;
    };
    const Case cases[] = {
        {"closed, this user's", good, true},
        {"open to others", open, false},
        {"a link to a good one", link, false},
        {"another user's", foreign, !root},
        {"too long for a socket beside the lock", deep, false},
        {"relative", "run", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EnvVar runtime("XDG_RUNTIME_DIR", c.path);
        const std::string chosen = privateDirectory(::getuid());
        EXPECT_EQ(chosen == c.path, c.taken) << chosen;
        if (!chosen.empty()) {
            struct stat st {};
            ASSERT_EQ(::lstat(chosen.c_str(), &st), 0);
            EXPECT_TRUE(S_ISDIR(st.st_mode));
            EXPECT_EQ(st.st_uid, ::getuid());
            EXPECT_EQ(st.st_mode & 077, 0u);
        }
    }
}

// The first copy holds the lock and listens; a second finds it running at
// once and reaches it; once the first is gone, the next start is first again.
TEST(InstanceLockTest, FirstCopyHoldsSecondReachesIt)
{
    const TempDir dir;
    {
        const InstanceLock first(dir.path(), 1000ms);
        ASSERT_EQ(first.state(), InstanceLock::State::First);
        ASSERT_GE(first.listener(), 0);
        const Clock::time_point start = Clock::now();
        const InstanceLock second(dir.path(), 1000ms);
        EXPECT_EQ(second.state(), InstanceLock::State::Running);
        EXPECT_EQ(second.listener(), -1);
        EXPECT_TRUE(second.handOver("x=1\n", 1000ms));
        EXPECT_LT(since(start), 900ms);  // within its limit, not by waiting it out
        QTest::qWait(10);
        const int c = ::accept(first.listener(), nullptr, nullptr);
        EXPECT_GE(c, 0);
        char buf[8] = {};
        EXPECT_EQ(::read(c, buf, sizeof buf), 4);
        EXPECT_STREQ(buf, "x=1\n");
        ::close(c);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/" + InstanceLock::kSocketName));
    const InstanceLock again(dir.path(), 1000ms);
    EXPECT_EQ(again.state(), InstanceLock::State::First);
}

// Something that is not the game holds the lock (the user's own process, say
// a stray `flock`): it holds up a start for the limit and no longer, and
// nothing is handed to it.
TEST(InstanceLockTest, AHolderThatIsNotTheGameHoldsUpAStartNoLonger)
{
    for (const char* written : {"", "1\n", "999999999\n"}) {
        SCOPED_TRACE(std::string("the lock file says '") + written + "'");
        const TempDir dir;
        const int fd = ::open((dir.path() + "/" + InstanceLock::kLockName).c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        ASSERT_EQ(::write(fd, written, std::strlen(written)), static_cast<ssize_t>(std::strlen(written)));
        const Clock::time_point start = Clock::now();
        const InstanceLock starting(dir.path(), 300ms);
        EXPECT_EQ(starting.state(), InstanceLock::State::Unguarded);
        EXPECT_GE(since(start), 290ms);
        EXPECT_LT(since(start), 1500ms);
        EXPECT_EQ(starting.listener(), -1);
        ::close(fd);
    }
}

// A socket beside the lock that is not the holder's, left behind by a killed
// copy or put there by anything else, neither stops the game nor gets its
// requests.
TEST(InstanceLockTest, ASocketLeftBehindIsReplaced)
{
    const TempDir dir;
    const SilentListener stranger(dir.path() + "/" + InstanceLock::kSocketName);
    const InstanceLock first(dir.path(), 1000ms);
    ASSERT_EQ(first.state(), InstanceLock::State::First);
    const InstanceLock second(dir.path(), 1000ms);
    ASSERT_EQ(second.state(), InstanceLock::State::Running);
    EXPECT_TRUE(second.handOver("x=1\n", 1000ms));
    const int c = ::accept4(first.listener(), nullptr, nullptr, SOCK_NONBLOCK);
    EXPECT_GE(c, 0) << "the request did not reach the holder";
    ::close(c);
    const int s = ::accept4(stranger.fd(), nullptr, nullptr, SOCK_NONBLOCK);
    EXPECT_LT(s, 0) << "the request went to the stranger";
}

// A second start hands what its launcher gave it to the running copy, which
// comes forward with it; one that ends without finishing its request, or
// sends far too much, asks for nothing.
TEST(SingleInstanceTest, TheRunningCopyComesForwardWithTheLaunchersData)
{
    const TempDir dir;
    const SingleInstance::Names names{QString(), dir.path()};
    SingleInstance running(names, {});
    ASSERT_TRUE(running.first());
    ASSERT_TRUE(running.start());
    QSignalSpy asked(&running, &SingleInstance::comeForward);
    const QVariantMap data{{QStringLiteral("activation-token"), QStringLiteral("tok=en 1")},
                           {QStringLiteral("desktop-startup-id"), QStringLiteral("launcher-1_TIME42")}};
    {
        const SingleInstance second(names, data);
        EXPECT_FALSE(second.first());
    }
    ASSERT_TRUE(asked.wait(2000));
    EXPECT_EQ(asked.constFirst().constFirst().toMap(), data);

    const InstanceLock raw(dir.path(), 1000ms);
    ASSERT_EQ(raw.state(), InstanceLock::State::Running);
    EXPECT_TRUE(raw.handOver(std::string(5000, 'x'), 1000ms));
    EXPECT_FALSE(asked.wait(300));
    EXPECT_EQ(asked.count(), 1);
}

// A copy that holds the lock asks for the name on the bus without waiting for
// the answer. Where no one has the name, it gets it; where a copy without a
// private directory has it already, that copy is asked to come forward with
// this start's data, and this one lets its lock go and is told to end.
TEST(SingleInstanceTest, TheNameOnTheBusIsAskedForWithoutWaiting)
{
    const TempDir dir;
    const Bus bus(dir.path() + "/bus");
    if (!bus.up())
        GTEST_SKIP() << "no dbus-daemon";
    const QString address = QString::fromStdString("unix:path=" + dir.path() + "/bus");
    const EnvVar env("DBUS_SESSION_BUS_ADDRESS", address.toStdString());
    const QString name = QStringLiteral("io.github.plitar.Plitar");
    const QVariantMap data{{QStringLiteral("activation-token"), QStringLiteral("t1")}};
    QDBusConnection other = QDBusConnection::connectToBus(address, QStringLiteral("lockless"));
    ASSERT_TRUE(other.isConnected());

    for (const bool taken : {true, false}) {
        SCOPED_TRACE(taken ? "a copy without a lock owns the name" : "the name is free");
        const TempDir lockDir;
        // The copy without a private directory, on a connection of its own.
        SingleInstance lockless(SingleInstance::Names{}, {});
        QSignalSpy asked(&lockless, &SingleInstance::comeForward);
        if (taken) {
            ASSERT_TRUE(other.registerObject(QStringLiteral("/io/github/plitar/Plitar"), &lockless,
                                             QDBusConnection::ExportScriptableSlots));
            ASSERT_TRUE(other.registerService(name));
        }
        {
            SingleInstance running({name, lockDir.path()}, data);
            QSignalSpy ended(&running, &SingleInstance::anotherCopyRuns);
            ASSERT_TRUE(running.first());
            ASSERT_TRUE(running.start());  // not held up by the bus
            if (taken) {
                ASSERT_TRUE(ended.wait(5000));
                // Here both copies live in one thread, so the call reaches
                // the other only once this one has stopped waiting for it.
                ASSERT_TRUE(!asked.isEmpty() || asked.wait(5000));
                EXPECT_EQ(asked.constFirst().constFirst().toMap(), data);
                const InstanceLock after(lockDir.path(), 1000ms);
                EXPECT_EQ(after.state(), InstanceLock::State::First) << "the lock was let go";
            } else {
                const QString self = QDBusConnection::sessionBus().baseService();
                for (int i = 0; i < 500 && other.interface()->serviceOwner(name).value() != self; ++i)
                    QTest::qWait(10);
                EXPECT_EQ(other.interface()->serviceOwner(name).value(), self);
                EXPECT_EQ(ended.count(), 0);
            }
        }
        if (taken) {
            other.unregisterService(name);
            other.unregisterObject(QStringLiteral("/io/github/plitar/Plitar"));
        }
    }
}

}  // namespace
}  // namespace plitar::test
