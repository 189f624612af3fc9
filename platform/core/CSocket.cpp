#include "platform/core/CSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

CSocket::CSocket() : m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CSocket::~CSocket() {
    Close();
    if (m_wake >= 0) ::close(m_wake);
}

BOOL CSocket::Create() {
    if (m_wake < 0) m_error = EMFILE;
    return m_wake >= 0;
}

BOOL CSocket::IsConnected() const {
    std::lock_guard guard(m_lock);
    return m_fd >= 0 && !m_closePending;
}

CString CSocket::GetLastErrorText() const {
    if (m_error == EHOSTUNREACH && m_resolveError != 0) return CString("unknown host: ") + gai_strerror(m_resolveError);
    if (m_error == ETIMEDOUT) return "timed out";
    return std::strerror(m_error);
}

BOOL CSocket::Connect(const char* host, UINT port) {
    if (IsConnected() || m_wake < 0) {
        m_error = m_wake < 0 ? EMFILE : EISCONN;
        return FALSE;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    m_resolveError = host ? getaddrinfo(host, std::to_string(port).c_str(), &hints, &found) : EAI_NONAME;
    if (m_resolveError != 0) {
        m_error = EHOSTUNREACH;
        return FALSE;
    }
    bool connected = false;
    for (const addrinfo* a = found; a && !connected; a = a->ai_next) {
        connected = ConnectOne(a->ai_family, a->ai_socktype, a->ai_protocol, a->ai_addr, a->ai_addrlen);
        if (m_error == ECANCELED) break;
    }
    freeaddrinfo(found);
    return connected;
}

bool CSocket::ConnectOne(int family, int type, int protocol, const void* address, unsigned length) {
    const int fd = ::socket(family, type | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    {
        std::lock_guard guard(m_lock);
        m_fd = fd;
        m_closePending = false;
    }
    // A non-blocking connect, so that the wait can time out and be cancelled.
    bool ok = ::connect(fd, static_cast<const sockaddr*>(address), length) == 0;
    if (!ok && errno == EINPROGRESS && BeginCall() >= 0) {
        if (Wait(fd, POLLOUT, m_connectTimeout)) {
            int error = 0;
            socklen_t size = sizeof error;
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
            ok = error == 0;
            if (!ok) m_error = error;
        }
        EndCall();
    } else if (!ok) {
        m_error = errno;
    }
    if (!ok || !IsConnected()) {
        if (ok) m_error = ECANCELED;
        Close();
        return false;
    }
    // Commands are short and each waits for its reply: sending them at once beats coalescing.
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return true;
}

int CSocket::BeginCall() {
    std::lock_guard guard(m_lock);
    if (m_fd < 0 || m_closePending) {
        m_error = ENOTCONN;
        return -1;
    }
    ++m_callsInProgress;
    return m_fd;
}

bool CSocket::EndCall() {
    std::lock_guard guard(m_lock);
    const bool closed = m_closePending;
    if (--m_callsInProgress == 0 && m_closePending) CloseLocked();
    if (closed) m_error = ECANCELED;
    return !closed;
}

bool CSocket::Wait(int fd, short events, int timeoutMs) {
    pollfd fds[2] = {{fd, events, 0}, {m_wake, POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(fds, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        m_error = errno;
        return false;
    }
    if (ready == 0) {
        m_error = ETIMEDOUT;
        return false;
    }
    if (fds[1].revents) {
        eventfd_t count;
        eventfd_read(m_wake, &count);
        m_error = ECANCELED;
        return false;
    }
    return true;  // ready, or an error or hang-up that the next call reports
}

int CSocket::Send(const void* data, int count) {
    const int fd = BeginCall();
    if (fd < 0) return SOCKET_ERROR;
    const char* p = static_cast<const char*>(data);
    int left = count;
    while (left > 0) {
        const ssize_t n = ::send(fd, p, static_cast<size_t>(left), MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            left -= static_cast<int>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Wait(fd, POLLOUT, m_sendTimeout)) break;
        } else {
            m_error = errno;
            break;
        }
    }
    // A Close from another thread makes the call fail, whatever it got before.
    const bool open = EndCall();
    return left == 0 && open ? count : SOCKET_ERROR;
}

int CSocket::Receive(void* buffer, int count) {
    const int fd = BeginCall();
    if (fd < 0) return SOCKET_ERROR;
    int result = SOCKET_ERROR;
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, static_cast<size_t>(count > 0 ? count : 0), 0);
        if (n >= 0) {
            result = static_cast<int>(n);
            break;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_error = errno;
            break;
        }
        if (!Wait(fd, POLLIN, m_receiveTimeout)) break;
    }
    return EndCall() ? result : SOCKET_ERROR;
}

void CSocket::Close() {
    std::lock_guard guard(m_lock);
    if (m_fd < 0) return;
    if (m_callsInProgress == 0) return CloseLocked();
    // A call is in progress on the owning thread: end it now, close when it returns.
    m_closePending = true;
    ::shutdown(m_fd, SHUT_RDWR);
    eventfd_write(m_wake, 1);
}

void CSocket::CloseLocked() {
    ::close(m_fd);
    m_fd = -1;
    m_closePending = false;
    eventfd_t stale;
    eventfd_read(m_wake, &stale);  // a cancel meant for the closed connection
}

void CSocket::CancelBlockingCall() {
    if (m_wake >= 0) eventfd_write(m_wake, 1);
}

CString CSocket::GetLocalAddressLiteral() const {
    std::lock_guard guard(m_lock);
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    if (m_fd < 0 || getsockname(m_fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) return {};
    char text[INET6_ADDRSTRLEN] = {};
    if (local.ss_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(local).sin_addr, text, sizeof text);
        return CString("[") + text + "]";
    }
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(local).sin6_addr, text, sizeof text);
    return CString("[IPv6:") + text + "]";
}
