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

// aiosmtpd on 127.0.0.1 on a free port, stopped by the destructor.
class LocalSmtpServer {
public:
    explicit LocalSmtpServer(bool auth);
    ~LocalSmtpServer();
    LocalSmtpServer(const LocalSmtpServer&) = delete;
    LocalSmtpServer& operator=(const LocalSmtpServer&) = delete;

    unsigned port() const { return m_port; }
    // The path of the raw data of the server's mail number `n` (from 1), waiting for it; empty
    // when it does not come within a few seconds.
    std::string WaitForMail(int n) const;
    // The credentials of the last AUTH LOGIN (null when there was none).
    nlohmann::json Auth() const;
    // The envelope of mail number `n`: {"from": ..., "to": [...]}.
    nlohmann::json Envelope(int n) const;

private:
    TempDir m_folder;
    pid_t m_pid = -1;
    unsigned m_port = 0;
};
