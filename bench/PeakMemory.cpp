#include "bench/PeakMemory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A "Name:  123 kB" line of /proc/self/status, in kilobytes.
double StatusKilobytes(const char* name) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    double kb = 0;
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, name, std::strlen(name)) == 0) kb = std::atof(line + std::strlen(name));
    if (status) std::fclose(status);
    return kb;
}

}  // namespace

double PeakGrowthOver(const std::function<double()>& work) {
    int pipefd[2];
    if (pipe(pipefd) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        // The child starts with its parent's pages: reset the peak to what is resident now.
        if (std::FILE* reset = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", reset);
            std::fclose(reset);
        }
        const double before = StatusKilobytes("VmRSS:");
        const double produced = work();
        const double ratio = (StatusKilobytes("VmHWM:") - before) * 1024 / produced;
        _exit(write(pipefd[1], &ratio, sizeof ratio) == sizeof ratio ? 0 : 1);
    }
    close(pipefd[1]);
    double ratio = -1;
    if (read(pipefd[0], &ratio, sizeof ratio) != sizeof ratio) ratio = -1;
    close(pipefd[0]);
    waitpid(child, nullptr, 0);
    return ratio;
}
