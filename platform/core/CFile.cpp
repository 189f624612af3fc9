#include "platform/core/CFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CFileException::Cause CauseOf(int err) {
    switch (err) {
        case ENOENT: case ENOTDIR: return CFileException::fileNotFound;
        case EACCES: case EPERM: case EROFS: return CFileException::accessDenied;
        case ENOSPC: case EDQUOT: case EFBIG: return CFileException::diskFull;
        case ESPIPE: case EINVAL: return CFileException::badSeek;
        default: return CFileException::generic;
    }
}

int PosixFlags(UINT flags) {
    int posix = O_CLOEXEC;
    switch (flags & 3) {
        case CFile::modeWrite: posix |= O_WRONLY; break;
        case CFile::modeReadWrite: posix |= O_RDWR; break;
        default: posix |= O_RDONLY; break;
    }
    if (flags & CFile::modeAppend) posix |= O_APPEND;
    if (flags & CFile::modeCreate) {
        posix |= O_CREAT;
        if (flags & CFile::modeCreateNew) posix |= O_EXCL;
        else if (!(flags & CFile::modeNoTruncate)) posix |= O_TRUNC;
    }
    // Non-blocking only for the open itself, so that a FIFO planted at the path cannot stall it.
    if (flags & CFile::modeNoFollow) posix |= O_NOFOLLOW | O_NONBLOCK;
    return posix;
}

// For modeNoFollow: FALSE (with errno set) unless `fd` is a plain file; the descriptor is then
// made blocking again.
bool IsPlainFile(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return false;
    }
    return ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
}

}  // namespace

CFileException::CFileException(Cause cause, int osError, std::string fileName, const char* action)
    : std::runtime_error(std::string("cannot ") + action + " '" + fileName + "': " + std::strerror(osError)),
      m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* path, UINT flags, CFileException* error) {
    Abort();
    int fd = ::open(path, PosixFlags(flags), 0644);
    if (fd >= 0 && (flags & modeNoFollow) && !IsPlainFile(fd)) {
        const int err = errno;
        ::close(fd);
        fd = -1;
        errno = err;
    }
    if (fd < 0) {
        if (error) *error = CFileException(CauseOf(errno), errno, path, "open");
        return FALSE;
    }
    m_fd = fd;
    m_path = path;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Throw("read");
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Throw("write");
        done += static_cast<UINT>(n);
    }
}

UINT CFile::ReadAt(std::uint64_t offset, void* buffer, UINT count) {
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::pread(m_fd, out + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Throw("read");
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::WriteAt(std::uint64_t offset, const void* buffer, UINT count) {
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(m_fd, in + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Throw("write");
        done += static_cast<UINT>(n);
    }
}

std::uint64_t CFile::Seek(std::int64_t offset, UINT from) {
    const off_t at = ::lseek(m_fd, static_cast<off_t>(offset), static_cast<int>(from));
    if (at < 0) Throw("seek in");
    return static_cast<std::uint64_t>(at);
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) Throw("examine");
    return static_cast<std::uint64_t>(st.st_size);
}

FileIdentity CFile::GetIdentity() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) Throw("examine");
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::optional<FileIdentity> CFile::IdentityOf(const char* path) {
    const auto found = IdentityAndLengthOf(path);
    return found ? std::optional(found->first) : std::nullopt;
}

std::optional<std::pair<FileIdentity, std::uint64_t>> CFile::IdentityAndLengthOf(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0) return std::nullopt;
    return std::pair(FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
                     static_cast<std::uint64_t>(st.st_size));
}

void CFile::SetLength(std::uint64_t length) {
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) Throw("resize");
}

void CFile::LockExclusive() {
    while (::flock(m_fd, LOCK_EX) != 0)
        if (errno != EINTR) Throw("lock");
}

void CFile::Unlock() {
    if (::flock(m_fd, LOCK_UN) != 0) Throw("unlock");
}

void CFile::Close() {
    if (m_fd < 0) return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) Throw("close");
}

void CFile::Abort() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void CFile::Throw(const char* action) const {
    const int err = errno;
    throw CFileException(CauseOf(err), err, m_path, action);
}
