// SMTP replies as a server sends them: the input arrives on a loopback connection, which the
// server side then closes, and the reply reader reads reply after reply until one is not
// complete. A complete reply has a three-digit code, and the reader must end at the close.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzTarget.h"
#include "mail/SmtpConnection.h"
#include "mail/SmtpReplyReader.h"

namespace {

// Inputs up to this size fit the loopback connection's buffers, so the whole input is written
// before the reader starts.
constexpr std::size_t kMaxInput = 64 * 1024;

// A listening socket on a free loopback port, for the whole run.
struct Listener {
    int fd = -1;
    UINT port = 0;
    Listener() {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        port = ntohs(address.sin_port);
    }
};

void WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) std::abort();
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Listener listener;
    if (size > kMaxInput) return 0;
    CSocket client;
    if (!client.Create() || !client.Connect("127.0.0.1", listener.port)) std::abort();
    const int server = accept(listener.fd, nullptr, nullptr);
    if (server < 0) std::abort();
    WriteAll(server, data, size);
    close(server);

    SmtpConnection connection(client);
    SmtpReplyReader reader(connection);
    std::size_t replies = 0;
    for (;; ++replies) {
        const SmtpReplyReader::Reply reply = reader.Read(CSocket::kNoTimeout);
        if (reply.status != SmtpReplyReader::Status::complete) break;
        // Every complete reply takes at least one line of four bytes ("250\n") from the input.
        if (reply.code < 0 || reply.code > 999 || (replies + 1) * 4 > size) std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    return TextSeeds({
        "220 mail.example.org ESMTP ready\r\n",
        "250-mail.example.org\r\n250-SIZE 10240000\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n",
        "334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 2.7.0 Authentication successful\r\n",
        "250 OK\r\n354 End data with <CR><LF>.<CR><LF>\r\n250 2.0.0 queued\r\n221 Bye\r\n",
        "250-first\r\n251 other code\r\n",
        "421 4.3.2 Service not available\n",
        "250-cut before its end",
    });
}
