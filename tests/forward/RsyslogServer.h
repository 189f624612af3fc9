#pragma once
// A real central syslog server for the forwarding tests: rsyslogd in the foreground on 127.0.0.1,
// with a configuration written for it, listening on free ports for plain syslog over TCP, syslog
// over TLS, RELP and RELP over TLS, and writing each message it receives, as it parsed it, as one
// JSON line to a file. Its certificates come from a test CA made with openssl at start.
#include <sys/types.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/TempDir.h"

// Makes in `folder` a test CA (ca.pem), a CA that signed nothing (other-ca.pem) and a server
// certificate for 127.0.0.1 and localhost signed by the first (server.pem, server.key); throws
// when openssl cannot.
void MakeTestCertificates(const std::string& folder);

class RsyslogServer {
public:
    RsyslogServer();   // starts it; a test failure (thrown) when rsyslogd is missing or does not listen
    ~RsyslogServer();  // stops it

    // "relp://127.0.0.1:PORT" and the like.
    std::string Url(const std::string& scheme) const;
    unsigned Port(const std::string& scheme) const;
    // The test CA, and another one that signed nothing of the server's.
    std::string CaFile() const { return m_folder.file("ca.pem"); }
    std::string OtherCaFile() const { return m_folder.file("other-ca.pem"); }

    // The messages received so far, oldest first (the lines whole so far).
    std::vector<nlohmann::json> Received() const;
    // Polls until at least `count` messages arrived or `seconds` passed; the messages.
    std::vector<nlohmann::json> WaitFor(std::size_t count, int seconds) const;

    void Kill();     // SIGKILL, as a crash
    void Restart();  // starts it again on the same ports

private:
    void WriteConfig() const;
    void Start();

    TempDir m_folder;
    std::vector<std::pair<std::string, unsigned>> m_ports;
    pid_t m_pid = -1;
};

// A test with a server of its own, the zone pinned (one with summer time) and a folder.
class WithRsyslogServer : public ::testing::Test {
protected:
    ScopedTz tz{"Europe/Berlin"};
    TempDir dir;
    RsyslogServer server;
};

// A free TCP port of 127.0.0.1 at the moment of asking.
unsigned FreePort();
