#include "platform/backends/DisplayProbe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr int kX11FirstPort = 6000;  // display n listens on TCP port 6000 + n
constexpr const char* kX11SocketFolder = "/tmp/.X11-unix/X";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class Socket {
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket() {
        if (m_fd >= 0) close(m_fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Connects a new socket of `family` to `address`, waiting at most `timeoutMs`; empty, or why not.
std::string Connect(int family, const sockaddr* address, socklen_t length, int timeoutMs) {
    const Socket s(socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (s.fd() < 0) return std::strerror(errno);
    if (connect(s.fd(), address, length) == 0) return {};
    if (errno != EINPROGRESS) return std::strerror(errno);
    pollfd p{s.fd(), POLLOUT, 0};
    const int ready = poll(&p, 1, timeoutMs);
    if (ready < 0) return std::strerror(errno);
    if (ready == 0) return "no answer within " + std::to_string(timeoutMs / 1000) + " seconds";
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return std::strerror(errno);
    return error == 0 ? std::string() : std::strerror(error);
}

// A Unix socket at `path`; with `abstract`, the name in the abstract namespace instead.
std::string ConnectLocal(const std::string& path, bool abstract, int timeoutMs) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof address.sun_path) return "the socket's path is too long";
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    return Connect(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), length, timeoutMs);
}

std::string ConnectTcp(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); error != 0)
        return std::string("host ") + host + ": " + gai_strerror(error);
    std::string problem = "host " + host + " has no address";
    for (const addrinfo* a = found; a; a = a->ai_next) {
        problem = Connect(a->ai_family, a->ai_addr, a->ai_addrlen, timeoutMs);
        if (problem.empty()) break;
        problem = host + " port " + std::to_string(port) + ": " + problem;
    }
    freeaddrinfo(found);
    return problem;
}

// "[tcp/|unix/][host]:number[.screen]": a local socket without a host (or with "unix"), else TCP.
std::string X11Problem(const std::string& name, int timeoutMs) {
    std::string_view rest = name;
    bool tcp = false;
    if (rest.starts_with("tcp/")) {
        tcp = true;
        rest.remove_prefix(4);
    } else if (rest.starts_with("unix/")) {
        rest.remove_prefix(5);
    }
    const size_t colon = rest.rfind(':');
    const std::string_view number = colon == std::string_view::npos ? "" : rest.substr(colon + 1, rest.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string_view::npos)
        return "not an X display name (HOST:NUMBER)";
    const int display = std::atoi(std::string(number).c_str());
    const std::string host(rest.substr(0, colon));
    if (tcp || (!host.empty() && host != "unix")) return ConnectTcp(host, kX11FirstPort + display, timeoutMs);
    const std::string path = kX11SocketFolder + std::string(number);
    if (ConnectLocal(path, true, timeoutMs).empty()) return {};
    const std::string problem = ConnectLocal(path, false, timeoutMs);
    return problem.empty() ? problem : "no X server on " + path + ": " + problem;
}

std::string WaylandProblem(const std::string& name, int timeoutMs) {
    std::string path = name.empty() ? "wayland-0" : name;
    if (!path.starts_with('/')) {
        const std::string folder = Env("XDG_RUNTIME_DIR");
        if (folder.empty()) return "XDG_RUNTIME_DIR, where its socket lies, is not set";
        path = folder + "/" + path;
    }
    const std::string problem = ConnectLocal(path, false, timeoutMs);
    return problem.empty() ? problem : "no Wayland compositor on " + path + ": " + problem;
}

}  // namespace

DisplayTarget ChooseDisplay() {
    const std::string x11 = Env("DISPLAY"), wayland = Env("WAYLAND_DISPLAY"), chosen = Env("SDL_VIDEODRIVER");
    if (!chosen.empty()) return {chosen, chosen == "wayland" ? wayland : x11};
    if (!x11.empty()) return {"x11", x11};
    if (!wayland.empty()) return {"wayland", wayland};
    return {};
}

std::string DisplayProblem(const DisplayTarget& display, int timeoutMs) {
    if (display.driver == "x11") return X11Problem(display.name, timeoutMs);
    if (display.driver == "wayland") return WaylandProblem(display.name, timeoutMs);
    return {};
}
