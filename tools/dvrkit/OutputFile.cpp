#include "tools/dvrkit/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TempFiles.h"

namespace {

CommandError WriteError(const std::string& target, const std::string& reason) {
    return {"cannot write " + (target == "-" ? std::string("standard output") : target) + ": " + reason};
}

// The mode a new output gets: the target's own if it exists, else what the umask allows, or for
// private outputs what the owner alone may read.
mode_t ModeFor(const struct stat* existing, Readers readers) {
    if (existing) return existing->st_mode & 07777;
    return readers == Readers::ownerOnly ? 0600 : UmaskedMode(0666);
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

void CreatePendingFor(PendingFile& pending, const std::string& target, Readers readers) {
    struct stat st {};
    const bool exists = target != "-" && CheckTarget(target, st);
    const std::string path = target == "-" ? (std::filesystem::temp_directory_path() / "dvrkit-stdio").string() : target;
    if (!CreateTemp(pending, path, ModeFor(exists ? &st : nullptr, readers)))
        throw WriteError(target, std::strerror(errno));
}

OutputFile::OutputFile(std::string target, Readers readers) : m_target(std::move(target)) {
    CreatePendingFor(m_pending, m_target, readers);
}

OutputFile::~OutputFile() { RemoveTemp(m_pending); }

void OutputFile::Fail(const std::string& what, int error) {
    RemoveTemp(m_pending);
    throw WriteError(m_target, what + std::strerror(error));
}

void OutputFile::Write(std::string_view bytes) {
    if (!WriteAll(m_pending.Descriptor(), bytes.data(), bytes.size())) Fail("", errno);
}

void OutputFile::Commit() {
    if (m_target == "-") {
        if (!CopyToStdout(m_pending.Descriptor())) Fail("", errno);
        RemoveTemp(m_pending);
        return;
    }
    struct stat st {};
    CheckTarget(m_target, st);  // refuse what was planted at the target meanwhile
    if (!PutTempInPlace(m_pending)) Fail("cannot put the output in place: ", errno);
}
