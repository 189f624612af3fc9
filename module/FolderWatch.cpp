#include "module/FolderWatch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace {

constexpr int kPollFallbackMs = 1000;
constexpr std::uint32_t kWrites = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO;

}  // namespace

FolderWatch::~FolderWatch() { Stop(); }

void FolderWatch::Stop() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void FolderWatch::Watch(const std::string& folder) {
    Stop();
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0 && ::inotify_add_watch(m_fd, folder.c_str(), kWrites | IN_ONLYDIR) < 0) Stop();
}

bool FolderWatch::Wait(int timeoutMs) {
    if (m_fd < 0) {
        const int ms = std::clamp(timeoutMs, 0, kPollFallbackMs);
        const timespec pause{ms / 1000, (ms % 1000) * 1000000L};
        ::nanosleep(&pause, nullptr);
        return true;
    }
    pollfd watched{m_fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, std::max(timeoutMs, 0));
    if (ready <= 0) return false;
    // The events are not told apart: every kind watched means "look again".
    alignas(inotify_event) char events[4096];
    while (::read(m_fd, events, sizeof events) > 0) {
    }
    return true;
}
