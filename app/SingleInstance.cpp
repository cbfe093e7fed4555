#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace plitar {

namespace {
const QString kObjectPath = QStringLiteral("/io/github/plitar/Plitar");
const QString kInterface = QStringLiteral("org.freedesktop.Application");

// Whether the user has a session bus: its address is given, or the usual one
// exists. A bus is never started for the game (no autolaunch).
bool sessionBusExists()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

struct Address {
    sockaddr_un addr{};
    socklen_t len = 0;
};

Address abstractAddress(const std::string& name)
{
    Address a;
    a.addr.sun_family = AF_UNIX;
    // A leading NUL puts the name in the abstract namespace.
    const size_t n = std::min(name.size(), sizeof(a.addr.sun_path) - 1);
    std::memcpy(a.addr.sun_path + 1, name.data(), n);
    a.len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return a;
}

bool peerUid(int fd, uid_t& uid)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    uid = cred.uid;
    return true;
}
}  // namespace

SingleInstance::Names SingleInstance::forThisUser()
{
    const uid_t uid = ::getuid();
    return {sessionBusExists() ? QStringLiteral("io.github.plitar.Plitar") : QString(),
            "plitar-" + std::to_string(uid), uid};
}

SingleInstance::SingleInstance(const Names& names, QObject* parent) : QObject(parent), names_(names)
{
    first_ = claimBusName() && claimSocketName();
    if (!first_) {
        if (ownsBusName_) {
            QDBusConnection bus = QDBusConnection::sessionBus();
            bus.interface()->unregisterService(names_.busName);
            bus.unregisterObject(kObjectPath);
        }
        ownsBusName_ = false;
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return;
    }
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptRequests(); });
    }
}

SingleInstance::~SingleInstance()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
    if (ownsBusName_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kObjectPath);
        bus.interface()->unregisterService(names_.busName);
    }
}

std::string SingleInstance::socketName(int k) const { return names_.socketBase + "-" + std::to_string(k); }

bool SingleInstance::claimBusName()
{
    if (names_.busName.isEmpty())
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;  // no bus after all: the socket names decide
    // The object first, so that a copy that sees the name can call it at once.
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots))
        return true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        names_.busName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        ownsBusName_ = true;
        return true;
    }
    bus.unregisterObject(kObjectPath);
    if (!reply.isValid())
        return true;  // the bus did not answer: the socket names decide
    QDBusMessage call = QDBusMessage::createMethodCall(names_.busName, kObjectPath, kInterface,
                                                       QStringLiteral("Activate"));
    call << QVariantMap{};
    bus.call(call, QDBus::Block, 5000);  // waits for the answer, so the call is delivered before this copy ends
    return false;
}

SingleInstance::Holder SingleInstance::probe(int k) const
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Holder::None;
    const Address a = abstractAddress(socketName(k));
    Holder holder = Holder::None;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a.addr), a.len) == 0) {
        uid_t uid = 0;
        holder = peerUid(fd, uid) && uid == names_.uid ? Holder::ThisUser : Holder::Other;
    } else if (errno == EAGAIN) {
        holder = Holder::Other;  // a holder that takes no connections is no copy of the game
    }
    ::close(fd);
    return holder;
}

bool SingleInstance::bindName(int k)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const Address a = abstractAddress(socketName(k));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a.addr), a.len) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool SingleInstance::claimSocketName()
{
    for (int k = 0; k < kSocketNames; ++k) {
        Holder holder = probe(k);
        if (holder == Holder::None) {
            if (bindName(k)) {
                // A copy of this user may hold a later name, taken while this
                // one was held by someone who has let it go since.
                for (int j = k + 1; j < kSocketNames; ++j)
                    if (probe(j) == Holder::ThisUser)
                        return false;
                return true;
            }
            // Bound by another process just now: give it a moment to listen.
            for (int i = 0; i < 20 && holder == Holder::None; ++i) {
                ::usleep(5000);
                holder = probe(k);
            }
        }
        if (holder == Holder::ThisUser)
            return false;
    }
    return true;  // every name is held by others, who cannot keep the game from starting
}

void SingleInstance::acceptRequests()
{
    bool asked = false;
    for (;;) {
        const int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0)
            break;
        uid_t uid = 0;
        asked = asked || (peerUid(c, uid) && uid == names_.uid);
        ::close(c);
    }
    if (asked)
        emit comeForward();
}

void SingleInstance::Activate(const QVariantMap& /*platformData*/) { emit comeForward(); }

}  // namespace plitar
