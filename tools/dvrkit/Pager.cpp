#include "tools/dvrkit/Pager.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr const char* kDefaultPager = "less -FRX";

const char* PagerCommand() {
    const char* pager = std::getenv("PAGER");
    if (!pager) return kDefaultPager;
    const std::string_view command = pager;
    return command.empty() || command == "cat" ? nullptr : pager;
}

}  // namespace

Pager::Pager(bool wanted) {
    const char* command = PagerCommand();
    if (!wanted || !command || !::isatty(STDOUT_FILENO)) return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;  // without a pager the output goes to the terminal
    std::fflush(stdout);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(ends[0], STDIN_FILENO);
        ::execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (m_pid > 0) ::dup2(ends[1], STDOUT_FILENO);
    ::close(ends[0]);
    ::close(ends[1]);
}

Pager::~Pager() {
    if (m_pid <= 0) return;
    std::fflush(stdout);
    // The pager sees the output's end; standard output stays open, on nothing.
    const int none = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (none >= 0) ::dup2(none, STDOUT_FILENO);
    else ::close(STDOUT_FILENO);
    if (none >= 0) ::close(none);
    while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}
