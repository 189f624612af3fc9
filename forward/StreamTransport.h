#pragma once
// Syslog over a TCP stream, each message octet-counted: plain (RFC 6587) or inside TLS
// (RFC 5425), the server's certificate verified against the trusted certificates and its name
// or address. A message is safe once its bytes were handed to the system's socket: a server that
// dies loses what its socket had taken and it had not yet read, since plain syslog acknowledges
// nothing.
#include <memory>
#include <string>

#include "forward/SyslogTransport.h"
#include "forward/TlsClient.h"

class StreamTransport : public SyslogTransport {
public:
    StreamTransport(ForwardTarget target, ForwardSecurity security, bool tls);
    ~StreamTransport() override;

    bool Connect() override;
    bool Send(std::string_view message) override;
    bool Flush() override;
    std::size_t Unconfirmed() const override { return m_buffered; }
    void Close() override;

private:
    // Whether the server closed the connection or sent bytes, which it never does in plain syslog.
    bool ServerSpoke();
    bool WriteAll();

    ForwardTarget m_target;
    ForwardSecurity m_security;
    bool m_tls;
    int m_fd = -1;
    std::unique_ptr<TlsClient> m_session;
    std::string m_buffer;       // framed messages not yet written
    std::size_t m_buffered = 0;  // how many
};
