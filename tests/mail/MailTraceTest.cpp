// The trace file of failed deliveries. This program holds this one test: the file is emptied at
// the first write of the process, which must happen here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
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

TEST(MailTrace, FailuresFollowOneAnotherInOneFileEmptiedOnce) {
    TempDir dir;
    const char* oldTmpdir = std::getenv("TMPDIR");
    const std::string restore = oldTmpdir ? oldTmpdir : "";
    setenv("TMPDIR", dir.path().c_str(), 1);
    const std::string trace = dir.file("EMailSender.txt");
    ASSERT_EQ(TraceFilePath(), trace);
    WriteBytes(trace, {'s', 't', 'a', 'l', 'e'});

    MailSettings refused;
    refused.port = FreeLoopbackPort();
    ASSERT_TRUE(SendAndWait(refused));
    EXPECT_EQ(ReadText(trace), "Must be connected");
    ASSERT_TRUE(SendAndWait(refused));
    EXPECT_EQ(ReadText(trace), Repeated("Must be connected", 2));

    ScriptedSmtpServer server({"> 220 ready", "<", "> 250 hello", "<", "> 221 bye"});
    MailSettings noRecipients;
    noRecipients.port = server.port();
    noRecipients.recipients = "";
    ASSERT_TRUE(SendAndWait(noRecipients));
    EXPECT_EQ(ReadText(trace), Repeated("Must be connected", 2) + "No Recipients");

    // Threads failing at once write whole texts, one after another.
    std::vector<CEMailThread*> selves(8);
    for (auto& self : selves) StartMailThread(refused, &self);
    for (auto& self : selves)
        while (!IsMailThreadDone(&self)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(ReadText(trace), Repeated("Must be connected", 2) + "No Recipients" + Repeated("Must be connected", 8));
    EXPECT_EQ(LastTraceText(), "Must be connected");
    if (oldTmpdir) setenv("TMPDIR", restore.c_str(), 1);
    else unsetenv("TMPDIR");
}

}  // namespace
