#include "tools/dvrkit/CursorFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/OutputFile.h"

namespace {

// A cursor is a short line; a longer file is not one of ours.
constexpr std::size_t kMaxCursorFile = 4096;

CommandError ReadError(const std::string& path, const std::string& reason) {
    return {"--cursor-file: cannot read " + path + ": " + reason};
}

}  // namespace

std::optional<std::string> ReadCursorFile(const std::string& path) {
    // Never through a link, and never waiting on a FIFO planted there.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return std::nullopt;
    if (fd < 0) throw ReadError(path, errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
    struct stat st {};
    std::string text(kMaxCursorFile + 1, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) got = ::read(fd, text.data(), text.size());
    const int error = errno;
    ::close(fd);
    if (!S_ISREG(st.st_mode)) throw ReadError(path, "it is not a plain file");
    if (got < 0) throw ReadError(path, std::strerror(error));
    if (static_cast<std::size_t>(got) > kMaxCursorFile) throw ReadError(path, "it is too long to hold a cursor");
    text.resize(static_cast<std::size_t>(got));
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    if (text.empty()) return std::nullopt;
    return text;
}

void WriteCursorFile(const std::string& path, const std::string& cursor) {
    OutputFile out(path);
    out.Write(cursor + "\n");
    out.Commit();
    // The rename is on disk only once the folder is.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    if (!synced) throw CommandError{"--cursor-file: cannot write " + path + ": " + std::strerror(error)};
}
