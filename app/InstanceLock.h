// The single-copy guard that needs no bus: a lock and a socket in a directory
// that only this user can reach, so that no other user can take, fake or
// block them. The lock says which copy runs; the socket carries a second
// start's request to come forward.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

namespace plitar {

// The user's private directory: $XDG_RUNTIME_DIR, else /run/user/<uid>, else
// /tmp/plitar-<uid>, else $HOME/.cache/plitar (the last two made if missing);
// the first that is a directory, not a link, owned by `uid` and closed to
// everyone else (no group or other permission bits). Empty when none is.
std::string privateDirectory(uid_t uid);

class InstanceLock {
public:
    enum class State {
        First,      // this process holds the lock and listens on the socket
        Running,    // a copy of the game holds it, answering or not
        Unguarded,  // something else holds it past the limit, or no lock can be had
    };

    // Takes the lock in `directory` (a private one). When another process
    // holds it, waits at most `limit` for that holder to show that it is the
    // game; one that does not (same user, not the game) cannot keep the game
    // from starting any longer.
    InstanceLock(const std::string& directory, std::chrono::milliseconds limit);
    ~InstanceLock();  // the holder removes its socket, then lets the lock go
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    // The holder's listening socket (non-blocking), -1 for others.
    int listener() const { return listener_; }
    // Not the holder: leaves `message` for the running copy, trying for at most
    // `limit` (a stopped copy takes no more connections once its queue is full).
    bool handOver(const std::string& message, std::chrono::milliseconds limit) const;

    static constexpr const char* kLockName = "io.github.plitar.Plitar.lock";
    static constexpr const char* kSocketName = "io.github.plitar.Plitar.socket";

private:
    bool listen();

    std::string lockPath_;
    std::string socketPath_;
    int lockFd_ = -1;
    int listener_ = -1;
    State state_ = State::Unguarded;
};

// Whether process `pid` runs the same program as this one.
bool runsThisProgram(pid_t pid);

}  // namespace plitar
