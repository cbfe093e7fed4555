// Whether another copy of the game already runs for this user, and the way
// to hand it a second start's request to come forward.
//
// Where the user's session bus answers, the running copy owns the well-known
// name io.github.plitar.Plitar on it. Only processes of the bus's own user may
// connect to a session bus, so nobody else can take the name first, and the
// bus drops the name when its owner ends in any way. A second copy that finds
// the name taken calls Activate on its owner and ends.
//
// The running copy also holds a lock in the user's private directory
// (InstanceLock), for copies that find no bus: the holder of the lock is the
// running copy, answering or not, and a second start leaves its request on the
// holder's socket beside the lock. The kernel lets the lock go when a copy
// ends in any way, a crash or SIGKILL included.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QDBusMessage;
class QSocketNotifier;

namespace plitar {

class InstanceLock;

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    // How long a second start tries to reach the running copy, and how long a
    // lock held by something that is not the game may hold up a start.
    static constexpr std::chrono::milliseconds kHandOver{1000};

    struct Names {
        QString busName;        // on the session bus; empty: no bus
        std::string directory;  // the private directory of the lock; empty: none
    };
    // The names of the game for the current user; `bus` says whether the
    // session bus answered (settleSessionBus).
    static Names forThisUser(bool bus);

    // Takes the lock, or finds the copy that holds it and hands it
    // `platformData` (what the launcher gave this start). Needs no
    // application object, so that a second start ends before it connects
    // to the display.
    SingleInstance(const Names& names, const QVariantMap& platformData, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Once the application object exists: takes the name on the bus (or asks
    // the copy that owns it to come forward) and listens for second starts.
    // False when a copy of this user runs already. A copy that holds the lock
    // asks for the name without waiting; should the answer be that a copy
    // without a private directory owns it, that copy is asked to come forward
    // and anotherCopyRuns follows.
    bool start();

    // False when a copy of this user runs already (and was asked to come forward).
    bool first() const { return first_; }

    // A request as it travels on the socket, and back; for tests.
    static std::string encode(const QVariantMap& platformData);
    static QVariantMap decode(const std::string& message);

public slots:
    // Called on the session bus by a second copy.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

signals:
    // A second start of this user asks this copy to come forward, with what
    // its launcher gave it (activation token, startup id).
    void comeForward(const QVariantMap& platformData);
    // The name on the bus belongs to another copy, asked to come forward:
    // this one should end.
    void anotherCopyRuns();

private:
    struct Request;
    bool claimBusName();    // false when a running copy owns the name
    void requestBusName();  // the same without waiting
    bool registeredOnBus();
    QDBusMessage nameRequest() const;
    bool nameAnswered(const QDBusMessage& reply);  // false when a running copy owns the name
    void releaseBusName();
    void stopGuarding();  // drops the requests, the socket's watch and the lock
    void acceptRequests();
    void readRequest(Request* request);

    Names names_;
    QVariantMap platformData_;
    bool first_ = true;
    bool ownsBusName_ = false;
    std::unique_ptr<InstanceLock> lock_;
    QSocketNotifier* notifier_ = nullptr;
    std::vector<std::unique_ptr<Request>> requests_;
};

}  // namespace plitar
