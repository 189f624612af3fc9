#include "mail/MailTrace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

constexpr char kTraceFileName[] = "EMailSender.txt";

struct Trace {
    std::mutex lock;
    std::FILE* file = nullptr;  // open until the process ends
    CString last;
};

Trace& TheTrace() {
    // Never destroyed: a mail thread may still trace while the process exits.
    static Trace* trace = new Trace;
    return *trace;
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
    if (!t.file) t.file = std::fopen(TraceFilePath(), "w");
    if (!t.file) return;
    std::fprintf(t.file, "%s", text ? text : "");
    std::fflush(t.file);
}

CString LastTraceText() {
    Trace& t = TheTrace();
    std::lock_guard guard(t.lock);
    return t.last;
}
