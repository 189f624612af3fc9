#include "tools/dvrkit/MailInput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/dvrkit/Commands.h"

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
    throw CommandError{path + ": " + reason};
}

// Opens `path` for reading ("-": standard input). A directory is refused, and with
// `regularOnly` anything but a regular file (a FIFO is then not even opened, since opening it
// could wait for a writer for ever).
int OpenForReading(const std::string& path, bool regularOnly, struct stat& st) {
    if (path == "-") return STDIN_FILENO;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (regularOnly ? O_NONBLOCK : 0));
    if (fd < 0) Refuse(path, std::strerror(errno));
    const char* refusal = nullptr;
    if (fstat(fd, &st) != 0) refusal = std::strerror(errno);
    else if (S_ISDIR(st.st_mode)) refusal = "is a folder";
    else if (regularOnly && !S_ISREG(st.st_mode)) refusal = "is not a regular file";
    if (!refusal) return fd;
    close(fd);
    Refuse(path, refusal);
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    struct stat st {};
    const int fd = OpenForReading(path, false, st);
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            if (fd != STDIN_FILENO) close(fd);
            Refuse(path, std::strerror(error));
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    if (fd != STDIN_FILENO) close(fd);
    if (S_ISREG(st.st_mode) && text.size() < static_cast<std::size_t>(st.st_size))
        Refuse(path, "read " + std::to_string(text.size()) + " of its " + std::to_string(st.st_size) + " bytes");
    return text;
}

void CheckAttachable(const std::string& path) {
    struct stat st {};
    close(OpenForReading(path, true, st));
}
