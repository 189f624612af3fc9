#include "tests/forward/MisbehavingServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

MisbehavingServer::MisbehavingServer(Misbehaviour how) : m_how(how) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 16) != 0)
        throw std::runtime_error("the misbehaving server cannot listen");
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

MisbehavingServer::~MisbehavingServer() {
    m_stop.store(true);
    m_thread.join();
    for (const int fd : m_connections) ::close(fd);
    ::close(m_listener);
}

void MisbehavingServer::Serve() {
    while (!m_stop.load()) {
        pollfd p{m_listener, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) Greet(fd);
    }
}

void MisbehavingServer::Greet(int fd) {
    if (m_how == Misbehaviour::Reset) {
        const linger abort{1, 0};  // closing sends RST
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::close(fd);
        return;
    }
    if (m_how == Misbehaviour::Garbage) {
        const char garbage[] = "\x16\x03\x01 garbage 999 rsp 500 nonsense\r\n\xFF\xFE";
        (void)!::send(fd, garbage, sizeof garbage - 1, MSG_NOSIGNAL);
    }
    m_connections.push_back(fd);  // kept open, never read
}
