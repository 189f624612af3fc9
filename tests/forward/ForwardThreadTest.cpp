// The host's forwarding thread: sends a folder and what is appended, counts what the server has,
// says what went wrong while it keeps trying, and stops when asked.
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "forward/CForwardThread.h"
#include "tests/forward/ForwardPeers.h"
#include "tests/forward/RsyslogServer.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kPollSeconds = 120;

// Polls `done` every 50 ms for up to kPollSeconds.
template <typename Done>
bool Eventually(Done done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kPollSeconds);
    while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return done();
}

using ForwardThread = WithRsyslogServer;

TEST_F(ForwardThread, SendsTheFolderAndWhatIsAppendedUntilStopped) {
    const std::string folder = dir.file("events");
    WriteMonth("event", folder, 20);
    ForwardOptions options;
    options.msgId = "event";
    options.cursorFile = dir.file("cursor");
    CForwardThread thread;
    ASSERT_TRUE(thread.Start(folder, FamilyNamed("event"), server.Url("relp"), options)) << thread.LastError();
    EXPECT_FALSE(thread.Start(folder, FamilyNamed("event"), server.Url("relp"), options));
    ASSERT_TRUE(Eventually([&] { return thread.Sent() == 20; })) << thread.LastError();
    WriteMonth("event", folder, 5, 20);
    ASSERT_TRUE(Eventually([&] { return thread.Sent() == 25; })) << thread.LastError();
    EXPECT_TRUE(thread.IsRunning());
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(ReceivedEntries(server.WaitFor(25, kPollSeconds)), ExpectedEntries("event", folder));
    EXPECT_EQ(thread.Sent(), 25u);
    EXPECT_EQ(thread.Waiting(), 0u);
}

TEST(ForwardThreadRetrying, SaysWhyWhileItKeepsTrying) {
    TempDir dir;
    WriteMonth("log1", dir.file("entries"), 3);
    ForwardOptions options;
    options.msgId = "log1";
    CForwardThread thread;
    EXPECT_FALSE(thread.Start(dir.file("entries"), FamilyNamed("log1"), "syslog+udp://127.0.0.1:514", options));
    EXPECT_NE(thread.LastError().find("syslog+udp://127.0.0.1:514"), std::string::npos) << thread.LastError();

    const std::string nobody = "syslog+tcp://127.0.0.1:" + std::to_string(FreePort());
    ASSERT_TRUE(thread.Start(dir.file("entries"), FamilyNamed("log1"), nobody, options));
    ASSERT_TRUE(Eventually([&] { return !thread.LastError().empty(); }));
    EXPECT_NE(thread.LastError().find("Connection refused"), std::string::npos) << thread.LastError();
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_EQ(thread.Sent(), 0u);
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
}

}  // namespace
