#pragma once
// Where a forwarder sends: the transport and the central server, as the tool's --to names them
// (relp://HOST:PORT, syslog+tls://HOST:PORT, syslog+tcp://HOST:PORT), and what the transports
// need besides.
#include <string>
#include <string_view>

enum class ForwardTransport { Relp, SyslogTls, SyslogTcp };

struct ForwardTarget {
    ForwardTransport transport = ForwardTransport::SyslogTcp;
    std::string host;  // a name or an address; an IPv6 address without its brackets
    unsigned port = 0;
};

// TLS settings (syslog+tls, and relp when `tls` is set) and the time-outs of every transport.
struct ForwardSecurity {
    bool relpTls = false;  // RELP over TLS
    std::string caFile;    // certificates to trust instead of the system's
    std::string certFile, keyFile;  // the client's own certificate and key, when the server asks
    int timeoutMs = 30000;  // connecting, and each wait for the server to take or answer
};

// The target `url` names; false with `error` saying what is wrong with it.
bool ParseForwardTarget(std::string_view url, ForwardTarget& target, std::string& error);
