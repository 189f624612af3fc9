#include "tests/support/ChildProcesses.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <vector>

bool RunInChildren(int count, const std::function<bool(int index)>& work) {
    std::vector<pid_t> children;
    bool allStarted = true;
    for (int i = 0; i < count; ++i) {
        const pid_t child = fork();
        if (child == 0) _exit(work(i) ? 0 : 1);
        if (child < 0) allStarted = false;
        else children.push_back(child);
    }
    bool allDone = allStarted;
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        allDone = allDone && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return allDone;
}

bool KillWhenFileReaches(const std::string& path, std::uint64_t size, const std::function<void()>& work) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        for (;;) work();
    }
    struct stat st {};
    int status = 0;
    while ((::stat(path.c_str(), &st) != 0 || static_cast<std::uint64_t>(st.st_size) < size) &&
           waitpid(child, &status, WNOHANG) == 0)
        usleep(1000);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}
