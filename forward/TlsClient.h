#pragma once
// The client side of TLS on a connected socket (OpenSSL): the server's certificate must verify
// against the trusted certificates (a CA file, else the system's) and name the host or address
// connected to; a client certificate is offered when one is given. The trusted certificates are
// loaded once and kept across reconnects: loading the system's store costs far more than a
// handshake.
#include <string>
#include <string_view>

#include "forward/ForwardTarget.h"

using SSL = struct ssl_st;
using SSL_CTX = struct ssl_ctx_st;

class TlsClient {
public:
    TlsClient() = default;
    ~TlsClient();
    TlsClient(const TlsClient&) = delete;
    TlsClient& operator=(const TlsClient&) = delete;

    // The handshake on `fd` with `host`, ending any earlier session; false with `error` (the
    // certificate's fault by name).
    bool Start(int fd, const std::string& host, const ForwardSecurity& security, std::string& error);
    // Ends the session; the trusted certificates stay for the next Start.
    void End();
    // Writes all of `bytes`; false with `error`.
    bool Write(std::string_view bytes, std::string& error);

private:
    bool MakeContext(const ForwardSecurity& security, std::string& error);

    SSL_CTX* m_context = nullptr;
    SSL* m_ssl = nullptr;
};
