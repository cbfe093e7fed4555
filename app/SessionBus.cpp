#include "app/SessionBus.h"

#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace plitar {

namespace {
using Clock = std::chrono::steady_clock;

// Libdbus knows no such transport and fails at once, without looking for a
// bus elsewhere or launching one.
constexpr const char* kNoBus = "disabled:";

class Socket {
public:
    Socket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Waits until fd is ready for `events` or the deadline has passed.
bool ready(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left));
        if (n > 0)
            return (p.revents & events) != 0;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const std::string& data, Clock::time_point deadline)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!ready(fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// Reads what has come, appending it to `got`; false at the deadline, at the
// end of the stream or past `most` bytes.
bool receiveSome(int fd, std::string& got, size_t most, Clock::time_point deadline)
{
    for (;;) {
        char buf[512];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n > 0) {
            got.append(buf, static_cast<size_t>(n));
            return got.size() <= most;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR) || !ready(fd, POLLIN, deadline))
            return false;
    }
}

// The bus's Hello call, the first message every client sends, marshalled by
// hand: a little-endian method call with serial 1 and no body.
std::string helloMessage()
{
    std::string m;
    auto pad = [&](size_t to) { m.resize((m.size() + to - 1) / to * to, '\0'); };
    auto u32 = [&](uint32_t v, size_t at) {
        for (size_t i = 0; i < 4; ++i)
            m[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
    };
    m = {'l', 1, 0, 1};
    m.resize(16, '\0');
    u32(1, 8);  // serial; the body length (4) and the fields' length (12) follow
    const size_t fieldsStart = m.size();
    auto field = [&](char code, char type, const std::string& value) {
        pad(8);
        m += {code, 1, type, '\0'};
        const size_t at = m.size();
        m.resize(at + 4);
        u32(static_cast<uint32_t>(value.size()), at);
        m += value;
        m += '\0';
    };
    const std::string bus = "org.freedesktop.DBus";
    field(1, 'o', "/org/freedesktop/DBus");
    field(2, 's', bus);
    field(3, 's', "Hello");
    field(6, 's', bus);
    u32(static_cast<uint32_t>(m.size() - fieldsStart), 12);
    pad(8);
    return m;
}

std::string hex(const std::string& s)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The socket address of one entry of a bus address ("unix:path=/run/user/1000/bus",
// "unix:abstract=/tmp/dbus-x"), values unescaped; none for any other kind.
std::optional<std::pair<sockaddr_un, socklen_t>> unixAddress(const std::string& entry)
{
    if (!entry.starts_with("unix:"))
        return std::nullopt;
    std::string path;
    bool abstract = false;
    size_t pos = 5;
    while (pos < entry.size()) {
        size_t end = entry.find(',', pos);
        if (end == std::string::npos)
            end = entry.size();
        const std::string pair = entry.substr(pos, end - pos);
        pos = end + 1;
        const size_t eq = pair.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        const std::string key = pair.substr(0, eq);
        if (key != "path" && key != "abstract")
            continue;  // guid= and the like
        abstract = key == "abstract";
        path.clear();
        for (size_t i = eq + 1; i < pair.size(); ++i) {
            if (pair[i] == '%' && i + 2 < pair.size()) {
                path += static_cast<char>(std::strtol(pair.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
            } else {
                path += pair[i];
            }
        }
    }
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    const size_t skip = abstract ? 1 : 0;  // an abstract name begins with a NUL
    if (path.empty() || path.size() + skip >= sizeof a.sun_path)
        return std::nullopt;
    std::memcpy(a.sun_path + skip, path.data(), path.size());
    return std::make_pair(a, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + skip + path.size() +
                                                    (abstract ? 0 : 1)));
}

bool entryAnswers(const std::string& entry, Clock::time_point deadline)
{
    const auto address = unixAddress(entry);
    if (!address)
        return false;
    Socket s;
    if (s.fd() < 0)
        return false;
    if (::connect(s.fd(), reinterpret_cast<const sockaddr*>(&address->first), address->second) != 0 &&
        (errno != EINPROGRESS || !ready(s.fd(), POLLOUT, deadline)))
        return false;  // nothing there, or a queue so full that it takes no one
    // The handshake and the Hello call go out in one piece, as systemd's bus
    // library sends them, so that the bus answers both in one round trip:
    // the line "OK <guid>", then the answer to Hello.
    const std::string ask = std::string(1, '\0') + "AUTH EXTERNAL " + hex(std::to_string(::getuid())) +
                            "\r\nBEGIN\r\n" + helloMessage();
    if (!sendAll(s.fd(), ask, deadline))
        return false;
    std::string got;
    size_t lineEnd = std::string::npos;
    constexpr size_t kMost = 4096;  // the line and the start of the answer are far shorter
    while (lineEnd == std::string::npos || got.size() < lineEnd + 4) {
        if (!receiveSome(s.fd(), got, kMost, deadline))
            return false;
        lineEnd = got.find("\r\n");
        if (lineEnd != std::string::npos && !got.starts_with("OK "))
            return false;  // rejected
    }
    // The first message back is the answer to Hello: a method return, or an error.
    const char* reply = got.data() + lineEnd + 2;
    return (reply[0] == 'l' || reply[0] == 'B') && (reply[1] == 2 || reply[1] == 3);
}

std::vector<std::string> entries(const std::string& address)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= address.size()) {
        size_t end = address.find(';', pos);
        if (end == std::string::npos)
            end = address.size();
        if (end > pos)
            out.push_back(address.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

// The first entry of the address that answers in time.
std::optional<std::string> answeringEntry(const std::string& address, std::chrono::milliseconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    for (const std::string& entry : entries(address))
        if (entryAnswers(entry, deadline))
            return entry;
    return std::nullopt;
}
}  // namespace

std::string sessionBusAddress()
{
    const char* given = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (given && *given)
        return given;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || *runtime != '/')
        return {};
    const std::string path = std::string(runtime) + "/bus";
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode))
        return {};
    // Bytes other than these stand escaped in an address.
    std::string escaped;
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("-_/.\\*", c))
            escaped += static_cast<char>(c);
        else
            escaped += "%" + hex(std::string(1, static_cast<char>(c)));
    }
    return "unix:path=" + escaped;
}

bool sessionBusAnswers(const std::string& address, std::chrono::milliseconds limit)
{
    return answeringEntry(address, limit).has_value();
}

bool settleSessionBus(std::chrono::milliseconds limit)
{
    const std::string address = sessionBusAddress();
    const std::optional<std::string> entry = address.empty() ? std::nullopt : answeringEntry(address, limit);
    // Qt is given the one entry that answered, so that it does not try a
    // silent one before it.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", entry ? entry->c_str() : kNoBus, 1);
    return entry.has_value();
}

}  // namespace plitar
