#include "tools/dvrkit/ProgressBar.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::uint64_t kMinimumSize = 4 << 20;  // smaller work finishes before a bar helps
constexpr int kWidth = 40;
constexpr auto kInterval = std::chrono::milliseconds(100);

}  // namespace

ProgressBar::ProgressBar(std::string watchedPath, std::uint64_t expectedSize)
    : m_path(std::move(watchedPath)), m_expected(expectedSize) {
    if (isatty(STDERR_FILENO) && m_expected >= kMinimumSize) m_thread = std::thread([this] { Run(); });
}

ProgressBar::~ProgressBar() {
    if (!m_thread.joinable()) return;
    m_stop = true;
    m_thread.join();
    std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
}

void ProgressBar::Run() {
    while (!m_stop) {
        struct stat st {};
        if (::stat(m_path.c_str(), &st) == 0) Draw(static_cast<std::uint64_t>(st.st_size));
        std::this_thread::sleep_for(kInterval);
    }
}

void ProgressBar::Draw(std::uint64_t done) const {
    const int percent = static_cast<int>(std::min<std::uint64_t>(100, done * 100 / m_expected));
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################", kWidth - filled, "",
                 percent);
    std::fflush(stderr);
}
