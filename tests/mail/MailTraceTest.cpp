// The trace file of failed deliveries. The file stays open once the process has written to it,
// so this program holds this one test: the refused files come first, then the file it writes,
// emptied when it is first opened and then written to in turn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "mail/MailTrace.h"
#include "tests/mail/MailThreadWait.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/support/TempDir.h"

namespace {

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

struct PlantedCase {
    const char* name;
    void (*plant)(const std::string& trace, const std::string& victim);
    const char* problem;
};

const PlantedCase kPlanted[] = {
    {"symbolic link to another file",
     [](const std::string& trace, const std::string& victim) { ASSERT_EQ(symlink(victim.c_str(), trace.c_str()), 0); },
     "is a symbolic link"},
    {"FIFO nobody reads",
     [](const std::string& trace, const std::string&) { ASSERT_EQ(mkfifo(trace.c_str(), 0666), 0); },
     "No such device or address"},
    {"another user's file",
     [](const std::string& trace, const std::string&) {
         WriteBytes(trace, {'t', 'h', 'e', 'i', 'r', 's'});
         ASSERT_EQ(chown(trace.c_str(), 65534, 65534), 0);
     },
     "belongs to another user"},
};

TEST(MailTrace, OnlyOurOwnRegularFileEmptiedOnceThenAppended) {
    TempDir dir;
    const char* oldTmpdir = std::getenv("TMPDIR");
    const std::string restore = oldTmpdir ? oldTmpdir : "";
    setenv("TMPDIR", dir.path().c_str(), 1);
    const std::string trace = dir.file("EMailSender.txt");
    ASSERT_EQ(TraceFilePath(), trace);
    MailSettings refused;
    refused.port = FreeLoopbackPort();
    const std::string failure = "Must be connected";

    const std::string victim = dir.file("victim");
    for (const PlantedCase& c : kPlanted) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "another user's file" && geteuid() != 0) continue;  // needs chown
        WriteBytes(victim, {'k', 'e', 'e', 'p'});
        c.plant(trace, victim);
        ASSERT_TRUE(SendAndWait(refused));
        EXPECT_EQ(TraceProblem().str(), trace + ": " + c.problem);
        EXPECT_EQ(ReadText(victim), "keep");
        EXPECT_EQ(LastTraceText().str(), failure);
        ASSERT_EQ(unlink(trace.c_str()), 0);
    }

    WriteBytes(trace, {'o', 'l', 'd'});  // an earlier run's
    ASSERT_EQ(chmod(trace.c_str(), 0600), 0);
    ASSERT_TRUE(SendAndWait(refused));
    EXPECT_EQ(TraceProblem().str(), "");
    EXPECT_EQ(ReadText(trace), failure);
    struct stat st {};
    ASSERT_EQ(stat(trace.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(SendAndWait(refused));  // emptied only once
    EXPECT_EQ(ReadText(trace), Repeated(failure, 2));

    ScriptedSmtpServer server({"> 220 ready", "<", "> 250 hello", "<", "> 221 bye"});
    MailSettings noRecipients;
    noRecipients.port = server.port();
    noRecipients.recipients = "";
    ASSERT_TRUE(SendAndWait(noRecipients));
    EXPECT_EQ(ReadText(trace), Repeated(failure, 2) + "No Recipients");

    // Threads failing at once write whole texts, one after another.
    std::vector<CEMailThread*> selves(8);
    for (auto& self : selves) StartMailThread(refused, &self);
    for (auto& self : selves)
        while (!IsMailThreadDone(&self)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ReadText(trace), Repeated(failure, 2) + "No Recipients" + Repeated(failure, 8));
    EXPECT_EQ(LastTraceText().str(), failure);
    if (oldTmpdir) setenv("TMPDIR", restore.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace
