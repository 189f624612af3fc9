// The blocking TCP socket: connection by name and address over IPv4 and IPv6, time-outs and
// cancellation from another thread; and the local host name.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "platform/core/CSocket.h"
#include "platform/core/HostName.h"

namespace {

using namespace std::chrono_literals;

// A listening loopback socket of one family on a free port; accepts one connection on request.
class Listener {
public:
    explicit Listener(int family) {
        m_fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_storage address{};
        socklen_t size;
        if (family == AF_INET) {
            auto& in = reinterpret_cast<sockaddr_in&>(address);
            in.sin_family = AF_INET;
            in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            size = sizeof in;
        } else {
            auto& in6 = reinterpret_cast<sockaddr_in6&>(address);
            in6.sin6_family = AF_INET6;
            in6.sin6_addr = in6addr_loopback;
            size = sizeof in6;
        }
        m_ok = m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(m_fd, 4) == 0 &&
               getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
        m_port = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in&>(address).sin_port
                                         : reinterpret_cast<sockaddr_in6&>(address).sin6_port);
    }
    ~Listener() {
        if (m_peer >= 0) close(m_peer);
        if (m_fd >= 0) close(m_fd);
    }
    bool ok() const { return m_ok; }
    unsigned port() const { return m_port; }
    int Accept() { return m_peer = accept(m_fd, nullptr, nullptr); }
    void ClosePeer() {
        close(m_peer);
        m_peer = -1;
    }

private:
    int m_fd = -1, m_peer = -1;
    unsigned m_port = 0;
    bool m_ok = false;
};

void ExpectRoundTrip(const char* host, int family) {
    Listener listener(family);
    if (!listener.ok()) GTEST_SKIP() << "no loopback for this family";
    CSocket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect(host, listener.port())) << host << ": " << socket.GetLastError();
    const int peer = listener.Accept();
    ASSERT_EQ(socket.Send("ping", 4), 4);
    char buffer[16] = {};
    ASSERT_EQ(recv(peer, buffer, sizeof buffer, 0), 4);
    send(peer, "pong", 4, 0);
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "pong");
    EXPECT_EQ(socket.GetLocalAddressLiteral(), family == AF_INET ? "[127.0.0.1]" : "[IPv6:::1]");
    listener.ClosePeer();
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 0);  // the peer closed
}

TEST(CSocket, DottedIPv4) { ExpectRoundTrip("127.0.0.1", AF_INET); }
TEST(CSocket, IPv6Address) { ExpectRoundTrip("::1", AF_INET6); }
TEST(CSocket, HostNameTriesEveryAddress) { ExpectRoundTrip("localhost", AF_INET); }

TEST(CSocket, RefusedAndUnresolvable) {
    unsigned port;
    {
        Listener gone(AF_INET);
        port = gone.port();
    }
    CSocket socket;
    socket.Create();
    EXPECT_FALSE(socket.Connect("127.0.0.1", port));
    EXPECT_EQ(socket.GetLastError(), ECONNREFUSED);
    EXPECT_FALSE(socket.Connect("no-such-host.invalid", 25));
    EXPECT_EQ(socket.GetLastError(), EHOSTUNREACH);
    char c;
    EXPECT_EQ(socket.Receive(&c, 1), CSocket::SOCKET_ERROR);  // not connected
}

TEST(CSocket, ReceiveTimesOut) {
    Listener listener(AF_INET);
    CSocket socket;
    socket.Create();
    ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port()));
    socket.SetReceiveTimeout(50);
    char c;
    EXPECT_EQ(socket.Receive(&c, 1), CSocket::SOCKET_ERROR);
    EXPECT_EQ(socket.GetLastError(), ETIMEDOUT);
}

TEST(CSocket, CancelAndCloseFromAnotherThread) {
    Listener listener(AF_INET);
    CSocket socket;
    socket.Create();
    ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port()));
    char c;
    std::thread canceller([&] {
        std::this_thread::sleep_for(30ms);
        socket.CancelBlockingCall();
    });
    EXPECT_EQ(socket.Receive(&c, 1), CSocket::SOCKET_ERROR);  // blocks without a time-out until cancelled
    EXPECT_EQ(socket.GetLastError(), ECANCELED);
    canceller.join();

    EXPECT_TRUE(socket.IsConnected());
    std::thread closer([&] {
        std::this_thread::sleep_for(30ms);
        socket.Close();
    });
    EXPECT_EQ(socket.Receive(&c, 1), CSocket::SOCKET_ERROR);
    closer.join();
    EXPECT_FALSE(socket.IsConnected());
}

TEST(HostName, IsTheSystemsName) {
    char name[256] = {};
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    EXPECT_EQ(GetLocalHostName(), name);
    EXPECT_TRUE(IsPlainHostName("dvr-01.example"));
    EXPECT_FALSE(IsPlainHostName("bad name"));
    EXPECT_FALSE(IsPlainHostName(""));
}

}  // namespace
