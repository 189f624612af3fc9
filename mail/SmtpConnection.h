#pragma once
// The byte stream of an SMTP session: a socket, and once TLS is started, TLS over that socket
// (OpenSSL, with the certificate and the host name verified). Reads and writes keep the socket's
// time-outs and its cancellation by another thread, since TLS reaches the network only through
// the socket's own calls.
#include <memory>

#include "platform/core/CSocket.h"
#include "platform/core/CString.h"

class SmtpConnection {
public:
    // The socket must outlive the connection.
    explicit SmtpConnection(CSocket& socket);
    ~SmtpConnection();
    SmtpConnection(const SmtpConnection&) = delete;
    SmtpConnection& operator=(const SmtpConnection&) = delete;

    // As CSocket's: all bytes or SOCKET_ERROR; bytes, 0 at the peer's end, or SOCKET_ERROR.
    int Send(const void* data, int count);
    int Receive(void* buffer, int count);
    void SetReceiveTimeout(int ms) { m_socket.SetReceiveTimeout(ms); }

    // Runs the TLS handshake as a client of `host`, checking the server's certificate for `host`
    // against the certificates of `caFile` (the system's trust store when empty). False with
    // `reason` set when the handshake fails, or when the certificate does not verify and
    // `mustVerify` is set; without it such a connection is encrypted all the same.
    bool StartTls(const CString& host, const CString& caFile, bool mustVerify, CString& reason);
    bool IsEncrypted() const { return m_tls != nullptr; }
    // Whether the server's certificate verified; if not, why not ("certificate verify failed: ...").
    bool IsVerified() const { return m_tls && m_verifyProblem.IsEmpty(); }
    const CString& VerifyProblem() const { return m_verifyProblem; }
    // The reason of the last failed Send or Receive.
    CString LastErrorText() const;
    // Ends TLS (without waiting for the server's part of the close) and forgets it.
    void EndTls();

private:
    struct Tls;
    CSocket& m_socket;
    std::unique_ptr<Tls> m_tls;
    CString m_tlsError;  // set when a TLS read or write failed for a reason of TLS itself
    CString m_verifyProblem;
};
