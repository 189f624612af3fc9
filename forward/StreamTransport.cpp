#include "forward/StreamTransport.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "forward/SyslogFormat.h"
#include "forward/TcpConnect.h"

namespace {

// Written out at this size, so that a month is not held in memory.
constexpr std::size_t kBufferLimit = 64 * 1024;

}  // namespace

StreamTransport::StreamTransport(ForwardTarget target, ForwardSecurity security, bool tls)
    : m_target(std::move(target)), m_security(std::move(security)), m_tls(tls) {}

StreamTransport::~StreamTransport() { Close(); }

bool StreamTransport::Connect() {
    Close();
    std::string error;
    m_fd = ConnectTcp(m_target.host, m_target.port, m_security.timeoutMs, error);
    if (m_fd < 0) return Fail(error);
    if (!m_tls) return true;
    if (!m_session) m_session = std::make_unique<TlsClient>();
    if (m_session->Start(m_fd, m_target.host, m_security, error)) return true;
    Close();
    return Fail(error);
}

bool StreamTransport::Send(std::string_view message) {
    AppendOctetCounted(m_buffer, message);
    ++m_buffered;
    return m_buffer.size() < kBufferLimit || Flush();
}

bool StreamTransport::Flush() {
    if (m_fd < 0) return Fail("not connected");
    if (!m_tls && ServerSpoke()) return false;
    if (!WriteAll()) return false;
    m_buffer.clear();
    m_buffered = 0;
    return true;
}

bool StreamTransport::WriteAll() {
    std::string error;
    if (m_tls) return m_session->Write(m_buffer, error) || Fail(error);
    std::string_view rest = m_buffer;
    while (!rest.empty()) {
        const ssize_t written = ::send(m_fd, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Fail("the server took nothing within the time-out");
        if (written < 0) return Fail(std::string("cannot send: ") + std::strerror(errno));
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool StreamTransport::ServerSpoke() {
    pollfd p{m_fd, POLLIN | POLLRDHUP, 0};
    if (::poll(&p, 1, 0) <= 0) return false;
    char byte;
    const ssize_t got = ::recv(m_fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got > 0) return !Fail("the server sent data, which a syslog server never sends");
    if (got == 0) return !Fail("the server closed the connection");
    return !Fail(std::string("the connection broke: ") + std::strerror(errno));
}

void StreamTransport::Close() {
    if (m_session) m_session->End();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
    m_buffered = 0;
}
