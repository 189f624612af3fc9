#include "tools/dvrkit/TempFiles.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "tools/dvrkit/Commands.h"

namespace {

// A fixed table, so that the handler touches no heap: a slot's path is written before the slot is
// marked used, and the mark is cleared before the path is reused.
struct Slot {
    std::atomic<bool> used{false};
    char path[PATH_MAX] = {};
};

constexpr int kSlots = 8;
std::array<Slot, kSlots> slots;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void RemoveTempsAndRaise(int signal) {
    for (Slot& slot : slots)
        if (slot.used.load()) ::unlink(slot.path);
    // The default action then ends the process with the signal, so the caller sees why.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigaction(signal, &action, nullptr);
    ::raise(signal);
}

}  // namespace

void InstallTempFileHandler() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = RemoveTempsAndRaise;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) sigaddset(&action.sa_mask, s);
    for (const int s : kSignals) {
        // A signal ignored when the tool started (nohup, a background job) stays ignored.
        struct sigaction current {};
        if (::sigaction(s, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        ::sigaction(s, &action, nullptr);
    }
}

namespace {

// Remembers `path` for removal on a signal; CommandError when every slot is taken.
void RegisterTemp(const std::string& path) {
    if (path.size() >= PATH_MAX) throw CommandError{path + ": the path is too long"};
    for (Slot& slot : slots) {
        if (slot.used.load()) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.used.store(true);
        return;
    }
    throw CommandError{"too many temporary files at once"};
}

void ForgetTemp(const std::string& path) {
    for (Slot& slot : slots)
        if (slot.used.load() && path == slot.path) slot.used.store(false);
}

}  // namespace

bool CreateTemp(PendingFile& pending, const std::string& target, mode_t mode) {
    InstallTempFileHandler();
    sigset_t held, before;
    sigemptyset(&held);
    for (const int s : kSignals) sigaddset(&held, s);
    ::sigprocmask(SIG_BLOCK, &held, &before);
    bool made = pending.Create(target, mode);
    int error = errno;
    if (made && !pending.Name().empty()) {
        try {
            RegisterTemp(pending.Name());
        } catch (const CommandError&) {
            pending.Discard();
            made = false;
            error = EMFILE;
        }
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return made;
}

bool PutTempInPlace(PendingFile& pending) {
    const std::string name = pending.Name();
    const bool placed = pending.PutInPlace();
    const int error = errno;
    ForgetTemp(name);
    errno = error;
    return placed;
}

void RemoveTemp(PendingFile& pending) noexcept {
    const std::string name = pending.Name();
    pending.Discard();
    ForgetTemp(name);
}
