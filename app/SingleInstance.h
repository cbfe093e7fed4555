// Whether another copy of the game already runs for this user, and the way
// to ask that copy to come forward.
//
// Where the user has a session bus, the running copy owns the well-known name
// io.github.plitar.Plitar on it. Only processes of the bus's own user may
// connect to a session bus, so nobody else can take the name first, and the
// bus drops the name when its owner ends in any way. A second copy that finds
// the name taken calls Activate on its owner and ends.
//
// The running copy also holds one of a few names in Linux's abstract socket
// namespace ("plitar-<uid>-0", "-1", ...), for copies started without a bus.
// Any process may bind any such name, so a holder counts only when the kernel
// says (SO_PEERCRED) that it runs as this user; a name held by anyone else is
// skipped and the next one tried, and when every name is held by others the
// game starts all the same. The kernel frees the names when a copy ends in
// any way, a crash or SIGKILL included, so nothing stale stays behind.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <string>
#include <sys/types.h>

class QSocketNotifier;

namespace plitar {

class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    static constexpr int kSocketNames = 8;

    struct Names {
        QString busName;         // on the session bus; empty: no bus
        std::string socketBase;  // abstract socket names socketBase-0 .. -(kSocketNames - 1)
        uid_t uid;               // the user whose copy counts as the running one
    };
    // The names of the game for the current user; no bus name when the user
    // has no session bus.
    static Names forThisUser();

    // Looks for a running copy and asks it to come forward, or takes the
    // names, held until this object is destroyed.
    explicit SingleInstance(const Names& names, QObject* parent = nullptr);
    ~SingleInstance() override;

    // False when a copy of this user ran already (and was asked to come forward).
    bool first() const { return first_; }

    // The abstract socket name number k; for tests.
    std::string socketName(int k) const;

public slots:
    // Called on the session bus by a second copy.
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);

signals:
    // A second copy of this user asks this one to come forward.
    void comeForward();

private:
    enum class Holder { None, ThisUser, Other };
    Holder probe(int k) const;  // connecting asks a holder of this user to come forward
    bool bindName(int k);
    bool claimSocketName();     // false when a copy of this user answered
    bool claimBusName();        // false when a copy of this user owns the name
    void acceptRequests();

    Names names_;
    bool first_ = true;
    bool ownsBusName_ = false;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace plitar
