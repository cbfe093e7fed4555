#include "app/InstanceLock.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace plitar {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kRetry = std::chrono::milliseconds(10);

// A directory only `uid` may enter: a real directory (a link is refused, as
// anyone may plant one in /tmp), owned by uid, no permission for anyone else.
bool isPrivate(const std::string& path, uid_t uid)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 077) == 0;
    ::close(fd);
    return ok;
}

bool fitsSocketAddress(const std::string& directory)
{
    return directory.size() + 1 + std::strlen(InstanceLock::kSocketName) < sizeof(sockaddr_un::sun_path);
}

sockaddr_un socketAddress(const std::string& path)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, path.data(), std::min(path.size(), sizeof a.sun_path - 1));
    return a;
}

// The process id the holder wrote into the lock file; 0 when there is none.
pid_t writtenPid(int fd)
{
    char buf[32] = {};
    const ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
    if (n <= 0)
        return 0;
    const long pid = std::strtol(buf, nullptr, 10);
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

struct stat exeOf(pid_t pid, bool& ok)
{
    struct stat st {};
    ok = ::stat(("/proc/" + std::to_string(pid) + "/exe").c_str(), &st) == 0;
    return st;
}

std::string exePath(pid_t pid)
{
    char buf[PATH_MAX] = {};
    const ssize_t n = ::readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), buf, sizeof buf - 1);
    std::string path(buf, n > 0 ? static_cast<size_t>(n) : 0);
    // A program replaced on disk (an upgrade) while it runs is still the game.
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path;
}
}  // namespace

bool runsThisProgram(pid_t pid)
{
    bool okThem = false, okUs = false;
    const struct stat them = exeOf(pid, okThem);
    const struct stat us = exeOf(::getpid(), okUs);
    if (okThem && okUs && them.st_dev == us.st_dev && them.st_ino == us.st_ino)
        return true;
    const std::string path = exePath(pid);
    return !path.empty() && path == exePath(::getpid());
}

std::string privateDirectory(uid_t uid)
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        if (isPrivate(runtime, uid) && fitsSocketAddress(runtime))
            return runtime;
    const std::string run = "/run/user/" + std::to_string(uid);
    if (isPrivate(run, uid))
        return run;
    // Anyone may take this name in /tmp first; then the user's cache folder,
    // which no one else can, serves.
    const std::string tmp = "/tmp/plitar-" + std::to_string(uid);
    ::mkdir(tmp.c_str(), 0700);  // may exist already; checked either way
    if (isPrivate(tmp, uid))
        return tmp;
    const char* home = std::getenv("HOME");
    if (!home || *home != '/')
        return {};
    const std::string cache = std::string(home) + "/.cache", own = cache + "/plitar";
    ::mkdir(cache.c_str(), 0700);
    ::mkdir(own.c_str(), 0700);
    return isPrivate(own, uid) && fitsSocketAddress(own) ? own : std::string();
}

InstanceLock::InstanceLock(const std::string& directory, std::chrono::milliseconds limit)
    : lockPath_(directory + "/" + kLockName), socketPath_(directory + "/" + kSocketName)
{
    if (!fitsSocketAddress(directory))
        return;
    lockFd_ = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0)
        return;
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            // Held now; the kernel lets it go when this process ends in any
            // way. Who holds it is written down for the copies that find it held.
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (::ftruncate(lockFd_, 0) != 0 || ::pwrite(lockFd_, pid.data(), pid.size(), 0) < 0) {
                // Unreadable, it makes later copies wait for the limit; still the holder.
            }
            state_ = State::First;
            listen();
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        // A holder that has just taken the lock writes its id a moment later.
        const pid_t holder = writtenPid(lockFd_);
        if (holder > 0 && runsThisProgram(holder)) {
            state_ = State::Running;
            ::close(lockFd_);
            lockFd_ = -1;
            return;
        }
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kRetry);
    }
    ::close(lockFd_);
    lockFd_ = -1;
}

InstanceLock::~InstanceLock()
{
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(socketPath_.c_str());  // still under the lock, so it is ours
    }
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

bool InstanceLock::listen()
{
    // A socket left by a copy that was killed, or put there by anything
    // else, goes: only the lock's holder listens here.
    ::unlink(socketPath_.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_un a = socketAddress(socketPath_);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    listener_ = fd;
    return true;
}

bool InstanceLock::handOver(const std::string& message, std::chrono::milliseconds limit) const
{
    const Clock::time_point deadline = Clock::now() + limit;
    const sockaddr_un a = socketAddress(socketPath_);
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
            // The message waits in the socket until the copy reads it, even
            // after this process has ended.
            const bool sent = ::send(fd, message.data(), message.size(), MSG_NOSIGNAL) ==
                              static_cast<ssize_t>(message.size());
            ::close(fd);
            return sent;
        }
        ::close(fd);
        // Not listening yet (it took the lock a moment ago), or stopped with
        // its queue full: try again until the time is up.
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kRetry);
    }
}

}  // namespace plitar
