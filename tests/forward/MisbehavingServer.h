#pragma once
// A server on 127.0.0.1 that takes connections and then fails its client in one way: it never
// reads nor answers, it resets each connection at once, or it sends bytes no syslog or RELP
// server would.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

enum class Misbehaviour { Stall, Reset, Garbage };

class MisbehavingServer {
public:
    explicit MisbehavingServer(Misbehaviour how);
    ~MisbehavingServer();
    MisbehavingServer(const MisbehavingServer&) = delete;
    MisbehavingServer& operator=(const MisbehavingServer&) = delete;

    unsigned Port() const { return m_port; }

private:
    void Serve();
    void Greet(int fd);

    Misbehaviour m_how;
    int m_listener = -1;
    unsigned m_port = 0;
    std::vector<int> m_connections;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
