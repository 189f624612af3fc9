#include "forward/TcpConnect.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Connects `fd` to `address` within `timeoutMs`; errno says why not.
bool ConnectWithin(int fd, const addrinfo& address, int timeoutMs) {
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) return false;
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, timeoutMs);
        if (ready == 0) errno = ETIMEDOUT;
        if (ready <= 0) return false;
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        errno = error;
        if (error != 0) return false;
    }
    ::fcntl(fd, F_SETFL, flags);
    const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

}  // namespace

int ConnectTcp(const std::string& host, unsigned port, int timeoutMs, std::string& error) {
    const std::string where = host + " port " + std::to_string(port) + ": ";
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0) {
        error = where + ::gai_strerror(lookup);
        return -1;
    }
    int fd = -1;
    for (const addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd >= 0 && !ConnectWithin(fd, *a, timeoutMs)) {
            error = where + std::strerror(errno);
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    return fd;
}
