#include "mail/SmtpConnection.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace {

// OpenSSL reads and writes through the session's CSocket, so that its time-outs and
// cancellation hold inside TLS as well.
int SocketWrite(BIO* bio, const char* data, int count) {
    BIO_clear_retry_flags(bio);
    const int sent = static_cast<CSocket*>(BIO_get_data(bio))->Send(data, count);
    return sent == CSocket::SOCKET_ERROR ? -1 : sent;
}

int SocketRead(BIO* bio, char* buffer, int count) {
    BIO_clear_retry_flags(bio);
    const int got = static_cast<CSocket*>(BIO_get_data(bio))->Receive(buffer, count);
    return got == CSocket::SOCKET_ERROR ? -1 : got;
}

long SocketControl(BIO*, int command, long, void*) { return command == BIO_CTRL_FLUSH ? 1 : 0; }

int SocketCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

const BIO_METHOD* SocketMethod() {
    static BIO_METHOD* method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "dvrkit socket");
        BIO_meth_set_write(m, SocketWrite);
        BIO_meth_set_read(m, SocketRead);
        BIO_meth_set_ctrl(m, SocketControl);
        BIO_meth_set_create(m, SocketCreate);
        return m;
    }();
    return method;
}

// The text of OpenSSL's oldest queued error, or `fallback` when none is queued.
CString OpenSslError(const char* fallback) {
    const unsigned long e = ERR_get_error();
    ERR_clear_error();
    if (e == 0) return fallback;
    char text[256];
    ERR_error_string_n(e, text, sizeof text);
    return text;
}

bool IsAddressLiteral(const CString& host) {
    unsigned char address[16];
    return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}

}  // namespace

struct SmtpConnection::Tls {
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
    ~Tls() {
        SSL_free(ssl);
        SSL_CTX_free(context);
    }
};

SmtpConnection::SmtpConnection(CSocket& socket) : m_socket(socket) {}

SmtpConnection::~SmtpConnection() = default;

bool SmtpConnection::StartTls(const CString& host, const CString& caFile, bool mustVerify, CString& reason) {
    ERR_clear_error();
    m_verifyProblem.Empty();
    auto tls = std::make_unique<Tls>();
    tls->context = SSL_CTX_new(TLS_client_method());
    if (!tls->context) {
        reason = OpenSslError("no TLS context");
        return false;
    }
    SSL_CTX_set_min_proto_version(tls->context, TLS1_2_VERSION);
    // Without `mustVerify` the certificate is still checked, and the result kept, after the
    // handshake.
    SSL_CTX_set_verify(tls->context, mustVerify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
    const int trusted = caFile.IsEmpty() ? SSL_CTX_set_default_verify_paths(tls->context)
                                         : SSL_CTX_load_verify_locations(tls->context, caFile.c_str(), nullptr);
    if (trusted != 1) {
        const CString problem = "cannot load the trusted certificates " +
                                (caFile.IsEmpty() ? CString("of the system") : caFile) + ": " +
                                OpenSslError("unreadable");
        if (mustVerify) {
            reason = problem;
            return false;
        }
        m_verifyProblem = problem;
    }
    tls->ssl = SSL_new(tls->context);
    BIO* bio = tls->ssl ? BIO_new(SocketMethod()) : nullptr;
    if (!bio) {
        reason = OpenSslError("no TLS session");
        return false;
    }
    BIO_set_data(bio, &m_socket);
    SSL_set_bio(tls->ssl, bio, bio);
    // The certificate must name the host the session was given: its address, or its name (which
    // is also sent, so that a server with several names picks the right certificate).
    if (IsAddressLiteral(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls->ssl), host.c_str());
    } else {
        SSL_set_tlsext_host_name(tls->ssl, host.c_str());
        SSL_set1_host(tls->ssl, host.c_str());
    }
    const bool connected = SSL_connect(tls->ssl) == 1;
    const long verified = SSL_get_verify_result(tls->ssl);
    const CString verifyProblem =
        verified == X509_V_OK ? CString() : CString("certificate verify failed: ") + X509_verify_cert_error_string(verified);
    if (!connected) {
        reason = verifyProblem.IsEmpty() ? OpenSslError(m_socket.GetLastErrorText().c_str()) : verifyProblem;
        return false;
    }
    if (m_verifyProblem.IsEmpty()) m_verifyProblem = verifyProblem;
    // A server without a certificate passes the check above: nothing was checked.
    if (m_verifyProblem.IsEmpty() && !SSL_get0_peer_certificate(tls->ssl)) m_verifyProblem = "no certificate";
    m_tls = std::move(tls);
    return true;
}

int SmtpConnection::Send(const void* data, int count) {
    if (!m_tls) return m_socket.Send(data, count);
    if (count == 0) return 0;
    ERR_clear_error();
    if (SSL_write(m_tls->ssl, data, count) == count) return count;
    m_tlsError = OpenSslError(m_socket.GetLastErrorText().c_str());
    return CSocket::SOCKET_ERROR;
}

int SmtpConnection::Receive(void* buffer, int count) {
    if (!m_tls) return m_socket.Receive(buffer, count);
    ERR_clear_error();
    const int got = SSL_read(m_tls->ssl, buffer, count);
    if (got > 0) return got;
    if (SSL_get_error(m_tls->ssl, got) == SSL_ERROR_ZERO_RETURN) return 0;
    m_tlsError = OpenSslError(m_socket.GetLastErrorText().c_str());
    return CSocket::SOCKET_ERROR;
}

CString SmtpConnection::LastErrorText() const {
    return m_tlsError.IsEmpty() ? m_socket.GetLastErrorText() : m_tlsError;
}

void SmtpConnection::EndTls() {
    if (m_tls) SSL_shutdown(m_tls->ssl);
    m_tls.reset();
    m_tlsError.Empty();
    m_verifyProblem.Empty();
}
