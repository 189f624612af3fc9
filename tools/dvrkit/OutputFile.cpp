#include "tools/dvrkit/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TempFiles.h"

namespace {

constexpr const char* kTempSuffix = ".dvrkit-XXXXXX";

CommandError WriteError(const std::string& target, const std::string& reason) {
    return {"cannot write " + (target == "-" ? std::string("standard output") : target) + ": " + reason};
}

// The mode a new output gets: the target's own if it exists, else what the umask allows.
mode_t ModeFor(const struct stat* existing) {
    if (existing) return existing->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Raises CommandError unless `target` is absent or a regular file; gives its status if present.
bool CheckTarget(const std::string& target, struct stat& st) {
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno == ENOENT) return false;
        throw WriteError(target, std::strerror(errno));
    }
    if (S_ISLNK(st.st_mode)) throw WriteError(target, "it is a symbolic link");
    if (S_ISDIR(st.st_mode)) throw WriteError(target, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) throw WriteError(target, "it is not a regular file");
    return true;
}

// Copies the whole of `fd` to standard output.
bool CopyToStdout(int fd) {
    if (::lseek(fd, 0, SEEK_SET) != 0) return false;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        if (!WriteAll(STDOUT_FILENO, buffer, static_cast<size_t>(n))) return false;
    }
}

}  // namespace

bool WriteAll(int fd, const void* bytes, size_t size) {
    const char* data = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

TempFile OpenTempFor(const std::string& target) {
    struct stat st {};
    const bool exists = target != "-" && CheckTarget(target, st);
    std::string pattern = target == "-" ? (std::filesystem::temp_directory_path() / "dvrkit-stdio").string() : target;
    pattern += kTempSuffix;
    const int fd = CreateTemp(pattern);
    if (fd < 0) throw WriteError(target, std::strerror(errno));
    if (::fchmod(fd, ModeFor(exists ? &st : nullptr)) != 0) {
        const int error = errno;
        ::close(fd);
        RemoveTemp(pattern);
        throw WriteError(target, std::strerror(error));
    }
    return {pattern, fd};
}

OutputFile::OutputFile(std::string target) : m_target(std::move(target)), m_temp(OpenTempFor(m_target)) {}

OutputFile::~OutputFile() {
    if (m_done) return;
    ::close(m_temp.fd);
    RemoveTemp(m_temp.path);
}

void OutputFile::Fail(const std::string& what, int error) {
    ::close(m_temp.fd);
    RemoveTemp(m_temp.path);
    m_done = true;
    throw WriteError(m_target, what + std::strerror(error));
}

void OutputFile::Write(std::string_view bytes) {
    if (!WriteAll(m_temp.fd, bytes.data(), bytes.size())) Fail("", errno);
}

void OutputFile::Commit() {
    if (m_target == "-") {
        if (!CopyToStdout(m_temp.fd)) Fail("", errno);
        ::close(m_temp.fd);
        RemoveTemp(m_temp.path);
        m_done = true;
        return;
    }
    // The data is on disk before the name points at it, so a crash leaves the old file or the new.
    if (::fsync(m_temp.fd) != 0) Fail("", errno);
    if (::close(m_temp.fd) != 0) {
        m_temp.fd = -1;
        Fail("", errno);
    }
    m_temp.fd = -1;
    struct stat st {};
    CheckTarget(m_target, st);  // refuse what was planted at the target meanwhile
    if (::rename(m_temp.path.c_str(), m_target.c_str()) != 0) Fail("cannot rename the temporary file: ", errno);
    ForgetTemp(m_temp.path);
    m_done = true;
}
