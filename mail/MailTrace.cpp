#include "mail/MailTrace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTraceFileName[] = "EMailSender.txt";

struct Trace {
    std::mutex lock;
    int fd = -1;  // open until the process ends
    CString last;
    CString problem;
};

Trace& TheTrace() {
    // Never destroyed: a mail thread may still trace while the process exits.
    static Trace* trace = new Trace;
    return *trace;
}

// Opens the trace file for appending and empties it; -1 with `problem` set when it cannot be
// opened or is not a regular file of this user (which then keeps its bytes).
int OpenTrace(const CString& path, CString& problem) {
    // O_NONBLOCK: opening a FIFO that nobody reads fails at once instead of waiting for ever.
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
    if (fd < 0) {
        problem = path + ": " + (errno == ELOOP ? "is a symbolic link" : std::strerror(errno));
        return -1;
    }
    struct stat st {};
    const char* refusal = nullptr;
    if (fstat(fd, &st) != 0) refusal = std::strerror(errno);
    else if (!S_ISREG(st.st_mode)) refusal = "is not a regular file";
    else if (st.st_uid != geteuid()) refusal = "belongs to another user";
    else if (ftruncate(fd, 0) != 0) refusal = std::strerror(errno);
    if (!refusal) return fd;
    close(fd);
    problem = path + ": " + refusal;
    return -1;
}

bool WriteAll(int fd, const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, text, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

CString TraceFilePath() {
    const char* folder = std::getenv("TMPDIR");
    return CString(folder && *folder ? folder : "/tmp") + "/" + kTraceFileName;
}

void WriteTrace(const char* text) {
    Trace& t = TheTrace();
    std::lock_guard guard(t.lock);
    t.last = text;
    t.problem.Empty();
    if (t.fd < 0) t.fd = OpenTrace(TraceFilePath(), t.problem);
    if (t.fd < 0) return;
    const std::size_t size = text ? std::strlen(text) : 0;
    if (!WriteAll(t.fd, text ? text : "", size)) t.problem = TraceFilePath() + ": " + std::strerror(errno);
}

CString LastTraceText() {
    Trace& t = TheTrace();
    std::lock_guard guard(t.lock);
    return t.last;
}

CString TraceProblem() {
    Trace& t = TheTrace();
    std::lock_guard guard(t.lock);
    return t.problem;
}
