#pragma once
// The real peers of the mail tests: Python's email parser and base64, and a local aiosmtpd server
// in its own process.
#include <string>
#include <string_view>
#include <sys/types.h>

#include <nlohmann/json.hpp>

#include "tests/support/TempDir.h"

// `name`, a file of this folder of the source tree.
std::string MailTestFile(const std::string& name);
// Python's standard base64 of the file's bytes.
std::string PythonBase64(const std::string& path);
// The mail in `path` as Python's email parser reads it (see mail_peer.py).
nlohmann::json PythonParseMail(const std::string& path);

// True when `text` holds a CR or an LF that is not part of a CR LF.
bool HasBareLineEnd(std::string_view text);

// Throw-away certificates made with the openssl command (see make_certificates.sh).
class TestCertificates {
public:
    TestCertificates();
    std::string ca() const { return m_folder.file("ca.pem"); }
    std::string otherCa() const { return m_folder.file("other-ca.pem"); }
    std::string cert() const { return m_folder.file("server.pem"); }
    std::string key() const { return m_folder.file("server.key"); }

private:
    TempDir m_folder;
};

enum class ServerTls { None, StartTlsRequired, Implicit };

struct SmtpServerOptions {
    bool auth = false;
    const char* mechanisms = "LOGIN,PLAIN";  // offered with auth
    ServerTls tls = ServerTls::None;
    const TestCertificates* certificates = nullptr;  // needed with TLS
};

// aiosmtpd on 127.0.0.1 on a free port, stopped by the destructor.
class LocalSmtpServer {
public:
    explicit LocalSmtpServer(bool auth);
    explicit LocalSmtpServer(const SmtpServerOptions& options);
    ~LocalSmtpServer();
    LocalSmtpServer(const LocalSmtpServer&) = delete;
    LocalSmtpServer& operator=(const LocalSmtpServer&) = delete;

    unsigned port() const { return m_port; }
    // The path of the raw data of the server's mail number `n` (from 1), waiting for it; empty
    // when it does not come within a few seconds.
    std::string WaitForMail(int n) const;
    // The credentials and mechanism of the last AUTH (null when there was none).
    nlohmann::json Auth() const;
    // The envelope of mail number `n`: {"from": ..., "to": [...]}.
    nlohmann::json Envelope(int n) const;

private:
    TempDir m_folder;
    pid_t m_pid = -1;
    unsigned m_port = 0;
};
