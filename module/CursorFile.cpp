#include "module/CursorFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/core/PendingFile.h"

namespace {

// A cursor is a short line; a longer file is not one of ours.
constexpr std::size_t kMaxCursorFile = 4096;

bool Failed(std::string& reason, std::string text) {
    reason = std::move(text);
    return false;
}

bool WriteWhole(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SyncFolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    errno = error;
    return synced;
}

}  // namespace

bool LoadCursorFile(const std::string& path, std::optional<std::string>& cursor, std::string& reason) {
    cursor.reset();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return true;
    if (fd < 0) return Failed(reason, errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
    struct stat st {};
    std::string text(kMaxCursorFile + 1, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) got = ::read(fd, text.data(), text.size());
    const int error = errno;
    ::close(fd);
    if (!S_ISREG(st.st_mode)) return Failed(reason, "it is not a plain file");
    if (got < 0) return Failed(reason, std::strerror(error));
    if (static_cast<std::size_t>(got) > kMaxCursorFile) return Failed(reason, "it is too long to hold a cursor");
    text.resize(static_cast<std::size_t>(got));
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    if (!text.empty()) cursor = std::move(text);
    return true;
}

bool SaveCursorFile(const std::string& path, const std::string& cursor, std::string& reason) {
    // Never replacing a link someone planted, nor anything but a plain file.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return Failed(reason, S_ISLNK(st.st_mode) ? "it is a symbolic link" : "it is not a plain file");
    PendingFile pending;
    const bool saved = pending.Create(path, UmaskedMode(0666)) && WriteWhole(pending.Descriptor(), cursor + "\n") &&
                       pending.PutInPlace() && SyncFolderOf(path);
    if (!saved) reason = std::strerror(errno);
    return saved;
}
