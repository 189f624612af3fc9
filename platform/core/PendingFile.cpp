#include "platform/core/PendingFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>

namespace {

constexpr int kNameAttempts = 100;
constexpr const char* kSuffix = ".new";
constexpr mode_t kPrivateMode = 0600;
constexpr mode_t kUsualUmask = 022;

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string NameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + kSuffix;
}

std::string ProcLink(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// The process id in `entry` if it is a pending file of `base` ("<base>.<pid>-<n>.new"), else 0.
pid_t PendingOwner(std::string_view entry, const std::string& base) {
    if (!entry.starts_with(base + ".") || !entry.ends_with(kSuffix)) return 0;
    entry.remove_prefix(base.size() + 1);
    entry.remove_suffix(std::string_view(kSuffix).size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), pid);
    if (error != std::errc() || pid <= 0 || end == entry.data() + entry.size() || *end != '-') return 0;
    return pid;
}

// Removes the named pending files of `target` that processes now gone left behind (killed while
// they wrote). A process of another user counts as alive, so its files stay.
void RemoveAbandoned(const std::string& target) {
    const std::string base = BaseOf(target);
    DIR* folder = ::opendir(FolderOf(target).c_str());
    if (!folder) return;
    while (const dirent* entry = ::readdir(folder)) {
        const pid_t owner = PendingOwner(entry->d_name, base);
        if (owner && owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

}  // namespace

mode_t UmaskedMode(mode_t mode) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("Umask:")) return mode & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    return mode & ~kUsualUmask;
}

PendingFile::~PendingFile() { Discard(); }

bool PendingFile::Create(const std::string& target, mode_t mode) {
    Discard();
    m_target = target;
    m_mode = mode;
    RemoveAbandoned(target);
    return CreateUnnamed(FolderOf(target)) || CreateNamed();
}

bool PendingFile::CreateUnnamed(const std::string& folder) {
    m_fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kPrivateMode);
    if (m_fd < 0) return false;
    // Linking it into place later goes through this link; without /proc it cannot be done.
    m_path = ProcLink(m_fd);
    if (::access(m_path.c_str(), F_OK) == 0) return true;
    Discard();
    return false;
}

bool PendingFile::CreateNamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = NameFor(m_target);
        m_fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateMode);
        if (m_fd >= 0) {
            // Writers reopen it through the descriptor where they can, so that nobody can swap
            // another file in under its name meanwhile.
            m_name = name;
            m_path = ProcLink(m_fd);
            if (::access(m_path.c_str(), F_OK) != 0) m_path = name;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool PendingFile::Link(std::string& name) const {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = NameFor(m_target);
        if (::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

bool PendingFile::PutInPlace() {
    // The data is on disk before the name points at it, so a crash leaves the old file or the new.
    bool done = m_fd >= 0 && ::fchmod(m_fd, m_mode) == 0 && ::fsync(m_fd) == 0 && (!m_name.empty() || Link(m_name));
    const int fd = m_fd;
    m_fd = -1;
    done = ::close(fd) == 0 && done && ::rename(m_name.c_str(), m_target.c_str()) == 0;
    if (done) m_name.clear();
    const int error = errno;
    Discard();
    errno = error;
    return done;
}

void PendingFile::Discard() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_name.empty()) ::unlink(m_name.c_str());
    m_fd = -1;
    m_name.clear();
    m_path.clear();
}
