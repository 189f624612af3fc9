#include "tests/mail/ScriptedSmtpServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long the server waits for the client before it gives up on a step.
constexpr int kClientWaitMs = 5000;

void SendText(int client, std::string text) {
    std::string wire;
    for (const char c : text) wire += c == '\n' ? std::string("\r\n") : std::string(1, c);
    wire += "\r\n";
    size_t start = 0;
    for (;;) {
        const size_t split = wire.find('|', start);
        const std::string piece = wire.substr(start, split == std::string::npos ? std::string::npos : split - start);
        send(client, piece.data(), piece.size(), MSG_NOSIGNAL);
        if (split == std::string::npos) return;
        // Apart in time, with Nagle off, so that each piece is its own segment.
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        start = split + 1;
    }
}

}  // namespace

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<std::string> script) : m_script(std::move(script)) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(m_listener, 1) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("the scripted server cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] {
        pollfd p{m_listener, POLLIN, 0};
        if (poll(&p, 1, kClientWaitMs) != 1) return;
        const int client = accept(m_listener, nullptr, nullptr);
        if (client < 0) return;
        const int one = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        Play(client);
        close(client);
    });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
    if (m_thread.joinable()) m_thread.join();
    close(m_listener);
}

bool ScriptedSmtpServer::ReadUntil(int client, const std::string& end, std::string& out) {
    for (;;) {
        const size_t at = m_pending.find(end);
        if (at != std::string::npos) {
            out = m_pending.substr(0, at + end.size());
            m_pending.erase(0, at + end.size());
            return true;
        }
        pollfd p{client, POLLIN, 0};
        char buffer[65536];
        const ssize_t n = poll(&p, 1, kClientWaitMs) == 1 ? recv(client, buffer, sizeof buffer, 0) : -1;
        if (n <= 0) return false;
        m_pending.append(buffer, static_cast<size_t>(n));
    }
}

void ScriptedSmtpServer::Play(int client) {
    std::string item;
    for (const std::string& step : m_script) {
        if (step.rfind("> ", 0) == 0) {
            SendText(client, step.substr(2));
        } else if (step == "<") {
            if (!ReadUntil(client, "\r\n", item)) return;
            m_commands.push_back(item.substr(0, item.size() - 2));
        } else if (step == "<data") {
            // The data may start with the final "." line itself when the body is empty.
            m_pending.insert(0, "\r\n");
            if (!ReadUntil(client, "\r\n.\r\n", item)) return;
            m_data = item.substr(2, item.size() - 7);
            m_commands.push_back("<data>");
        } else if (step == "close") {
            return;
        }
    }
    while (ReadUntil(client, "\r\n", item)) m_commands.push_back(item.substr(0, item.size() - 2));
}

const std::vector<std::string>& ScriptedSmtpServer::Commands() {
    if (m_thread.joinable()) m_thread.join();
    return m_commands;
}

const std::string& ScriptedSmtpServer::Data() {
    if (m_thread.joinable()) m_thread.join();
    return m_data;
}

unsigned FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("no free loopback port");
    close(fd);
    return ntohs(address.sin_port);
}
