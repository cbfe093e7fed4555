#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>

#include "app/InstanceLock.h"

namespace plitar {

namespace {
const QString kObjectPath = QStringLiteral("/io/github/plitar/Plitar");
const QString kInterface = QStringLiteral("org.freedesktop.Application");
constexpr int kBusTimeoutMs = static_cast<int>(SingleInstance::kHandOver.count());
// Requests are a few short lines; anything longer or more is not a copy's.
constexpr size_t kRequestBytes = 4096;
constexpr size_t kPendingRequests = 8;

bool sameUser(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::getuid();
}
}  // namespace

// A connection of a second start whose request has not all arrived yet.
struct SingleInstance::Request {
    int fd = -1;
    std::string text;
    QSocketNotifier* notifier = nullptr;  // a child of the SingleInstance
    ~Request()
    {
        // May run inside the notifier's own signal: it goes once that is over.
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        ::close(fd);
    }
};

SingleInstance::Names SingleInstance::forThisUser(bool bus)
{
    return {bus ? QStringLiteral("io.github.plitar.Plitar") : QString(), privateDirectory(::getuid())};
}

SingleInstance::SingleInstance(const Names& names, const QVariantMap& platformData, QObject* parent)
    : QObject(parent), names_(names), platformData_(platformData)
{
    if (names_.directory.empty())
        return;
    lock_ = std::make_unique<InstanceLock>(names_.directory, kHandOver);
    if (lock_->state() == InstanceLock::State::Running) {
        lock_->handOver(encode(platformData_), kHandOver);
        first_ = false;
    }
}

bool SingleInstance::start()
{
    if (!first_)
        return false;
    if (lock_ && lock_->state() == InstanceLock::State::First) {
        // The lock already keeps out every copy with a private directory; the
        // name serves copies without one, so its answer is not waited for.
        requestBusName();
    } else if (!claimBusName()) {
        // A copy that holds no lock (one without a private directory) runs
        // on the bus; this one lets its lock go.
        first_ = false;
        stopGuarding();
        return false;
    }
    if (lock_ && lock_->listener() >= 0) {
        notifier_ = new QSocketNotifier(lock_->listener(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptRequests(); });
    }
    return true;
}

SingleInstance::~SingleInstance()
{
    stopGuarding();
    releaseBusName();
}

void SingleInstance::stopGuarding()
{
    requests_.clear();
    delete notifier_;
    notifier_ = nullptr;
    lock_.reset();
}

QDBusMessage SingleInstance::nameRequest() const
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    constexpr uint kDoNotQueue = 4;
    request << names_.busName << kDoNotQueue;
    return request;
}

bool SingleInstance::nameAnswered(const QDBusMessage& reply)
{
    constexpr uint kPrimaryOwner = 1, kExists = 3;
    const uint answer = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                            ? reply.arguments().constFirst().toUInt()
                            : 0;
    if (answer == kPrimaryOwner) {
        ownsBusName_ = true;
        return true;
    }
    QDBusConnection::sessionBus().unregisterObject(kObjectPath);
    if (answer != kExists)
        return true;  // the bus did not answer in time: the lock decides
    QDBusMessage call =
        QDBusMessage::createMethodCall(names_.busName, kObjectPath, kInterface, QStringLiteral("Activate"));
    call << platformData_;
    // Waits for the answer, so that the call has gone out before this copy
    // ends; a running copy that does not answer in time is running all the same.
    QDBusConnection::sessionBus().call(call, QDBus::Block, kBusTimeoutMs);
    return false;
}

bool SingleInstance::registeredOnBus()
{
    if (names_.busName.isEmpty())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // No bus after all: the lock decides. The object comes before the name,
    // so that a copy that sees the name can call it at once.
    return bus.isConnected() && bus.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots);
}

bool SingleInstance::claimBusName()
{
    if (!registeredOnBus())
        return true;
    return nameAnswered(QDBusConnection::sessionBus().call(nameRequest(), QDBus::Block, kBusTimeoutMs));
}

void SingleInstance::requestBusName()
{
    if (!registeredOnBus())
        return;
    auto* answer =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(nameRequest(), kBusTimeoutMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (nameAnswered(call->reply()))
            return;
        // A copy without a private directory was on the bus first: it runs,
        // and this one, told so, lets its lock go and ends.
        first_ = false;
        stopGuarding();
        emit anotherCopyRuns();
    });
}

void SingleInstance::releaseBusName()
{
    if (!ownsBusName_)
        return;
    ownsBusName_ = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kObjectPath);
    QDBusMessage release = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReleaseName"));
    release << names_.busName;
    // Not waited for: a bus stopped since must not hold up the end, and the
    // bus drops the name with the connection anyway.
    bus.send(release);
}

void SingleInstance::acceptRequests()
{
    for (;;) {
        const int fd = ::accept4(lock_->listener(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            break;
        auto request = std::make_unique<Request>();
        request->fd = fd;
        if (!sameUser(fd))
            continue;  // the directory is private; this is only a second lock on the door
        if (requests_.size() == kPendingRequests)
            requests_.erase(requests_.begin());  // the oldest has had its time
        Request* r = request.get();
        r->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(r->notifier, &QSocketNotifier::activated, this, [this, r] { readRequest(r); });
        requests_.push_back(std::move(request));
        readRequest(r);  // usually all there already
    }
}

// A request is complete when its sender has closed the connection.
void SingleInstance::readRequest(Request* request)
{
    for (;;) {
        char buf[512];
        const ssize_t n = ::recv(request->fd, buf, sizeof buf, 0);
        if (n > 0 && request->text.size() + static_cast<size_t>(n) <= kRequestBytes) {
            request->text.append(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;  // more to come
        const bool complete = n == 0;
        const QVariantMap data = decode(request->text);
        std::erase_if(requests_, [request](const auto& r) { return r.get() == request; });
        if (complete)
            emit comeForward(data);
        return;
    }
}

// One "key=value" line per entry, text values only (all a launcher gives).
std::string SingleInstance::encode(const QVariantMap& platformData)
{
    std::string out;
    for (auto it = platformData.cbegin(); it != platformData.cend(); ++it) {
        const QString value = it.value().toString();
        if (it.key().contains(u'=') || it.key().contains(u'\n') || value.contains(u'\n'))
            continue;
        out += (it.key() + u'=' + value + u'\n').toStdString();
    }
    return out;
}

QVariantMap SingleInstance::decode(const std::string& message)
{
    QVariantMap data;
    for (const QString& line : QString::fromStdString(message).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            data.insert(line.left(eq), line.mid(eq + 1));
    }
    return data;
}

void SingleInstance::Activate(const QVariantMap& platformData) { emit comeForward(platformData); }

}  // namespace plitar
