#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <algorithm>
#include <cstring>

namespace plitar {

SingleInstance::SingleInstance(const std::string& name)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // A leading NUL puts the name in the abstract namespace.
    const size_t len = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), len);
    const auto addrLen = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);

    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return;  // no socket at all: let the game start rather than refuse
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), addrLen) != 0) {
        ::close(fd_);
        fd_ = -1;
        first_ = false;
    }
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string SingleInstance::nameForThisUser()
{
    return "plitar-" + std::to_string(::getuid());
}

}  // namespace plitar
