#pragma once
// A blocking TCP connection to a host and port, made within a time-out, whose reads and writes
// then wait at most that long.
#include <string>

// The connected descriptor, or -1 with `error` ("127.0.0.1 port 514: Connection refused").
int ConnectTcp(const std::string& host, unsigned port, int timeoutMs, std::string& error);
