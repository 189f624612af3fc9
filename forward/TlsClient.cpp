#include "forward/TlsClient.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstring>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace {

// OpenSSL's reason for the last failure, else the system's.
std::string LastTlsError(const char* what) {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code != 0) {
        char text[256];
        ERR_error_string_n(code, text, sizeof text);
        return std::string(what) + ": " + text;
    }
    return std::string(what) + ": " + (errno != 0 ? std::strerror(errno) : "the connection was closed");
}

bool IsAddress(const std::string& host) {
    unsigned char bytes[16];
    return inet_pton(AF_INET, host.c_str(), bytes) == 1 || inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

}  // namespace

TlsClient::~TlsClient() {
    End();
    if (m_context != nullptr) SSL_CTX_free(m_context);
}

void TlsClient::End() {
    if (m_ssl != nullptr) SSL_free(m_ssl);
    m_ssl = nullptr;
}

bool TlsClient::MakeContext(const ForwardSecurity& security, std::string& error) {
    m_context = SSL_CTX_new(TLS_client_method());
    if (m_context == nullptr) return error = LastTlsError("TLS"), false;
    SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION);
    SSL_CTX_set_verify(m_context, SSL_VERIFY_PEER, nullptr);
    const bool trusted = security.caFile.empty() ? SSL_CTX_set_default_verify_paths(m_context) == 1
                                                 : SSL_CTX_load_verify_locations(m_context, security.caFile.c_str(), nullptr) == 1;
    const bool offered = security.certFile.empty() ||
                         (SSL_CTX_use_certificate_chain_file(m_context, security.certFile.c_str()) == 1 &&
                          SSL_CTX_use_PrivateKey_file(m_context, security.keyFile.c_str(), SSL_FILETYPE_PEM) == 1 &&
                          SSL_CTX_check_private_key(m_context) == 1);
    if (trusted && offered) return true;
    error = trusted ? LastTlsError(("cannot use " + security.certFile + " with " + security.keyFile).c_str())
                    : LastTlsError(("cannot read " + security.caFile).c_str());
    SSL_CTX_free(m_context);
    m_context = nullptr;
    return false;
}

bool TlsClient::Start(int fd, const std::string& host, const ForwardSecurity& security, std::string& error) {
    End();
    if (m_context == nullptr && !MakeContext(security, error)) return false;
    m_ssl = SSL_new(m_context);
    if (m_ssl == nullptr || SSL_set_fd(m_ssl, fd) != 1) return error = LastTlsError("TLS"), false;
    X509_VERIFY_PARAM* param = SSL_get0_param(m_ssl);
    if (IsAddress(host)) {
        X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str());
    } else {
        SSL_set_tlsext_host_name(m_ssl, host.c_str());
        X509_VERIFY_PARAM_set1_host(param, host.c_str(), 0);
    }
    errno = 0;
    if (SSL_connect(m_ssl) == 1) return true;
    const long verified = SSL_get_verify_result(m_ssl);
    if (verified != X509_V_OK) {
        ERR_clear_error();
        error = std::string("the server's certificate is not trusted: ") + X509_verify_cert_error_string(verified);
        return false;
    }
    error = LastTlsError("TLS handshake");
    return false;
}

bool TlsClient::Write(std::string_view bytes, std::string& error) {
    while (!bytes.empty()) {
        errno = 0;
        const int written = SSL_write(m_ssl, bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 30)));
        if (written <= 0) return error = LastTlsError("TLS write"), false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}
