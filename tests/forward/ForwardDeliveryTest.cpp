// A month of each family sent by the tool over each transport to a real rsyslogd arrives whole:
// every entry once, in order, its fields and text exact as the server parsed them.
#include <filesystem>

#include <gtest/gtest.h>

#include "module/Journal.h"
#include "tests/forward/ForwardPeers.h"
#include "tests/forward/RsyslogServer.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

struct Delivery {
    const char* family;
    const char* scheme;  // a port of RsyslogServer
};

class ForwardDeliveryTest : public ::testing::TestWithParam<Delivery> {
protected:
    ScopedTz tz{"Europe/Berlin"};
    TempDir dir;
};

TEST_P(ForwardDeliveryTest, AMonthArrivesWhole) {
    const Delivery d = GetParam();
    RsyslogServer server;
    const std::string folder = dir.file("month");
    WriteMonth(d.family, folder, 40);
    const std::vector<ExpectedEntry> expected = ExpectedEntries(d.family, folder);
    ASSERT_EQ(expected.size(), 40u);

    const ToolRun run = RunTool(ForwardArguments(server, d.scheme, folder, d.family, dir.file("cursor")));
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto received = server.WaitFor(expected.size(), 60);
    EXPECT_EQ(ReceivedEntries(received), expected);
    for (const auto& message : received) {
        EXPECT_EQ(message.at("pri"), "133");  // local0.notice
        EXPECT_EQ(message.at("app"), "dvrkit");
        EXPECT_EQ(message.at("procid"), "-");
        EXPECT_EQ(message.at("msgid"), d.family);
    }

    // Run again: nothing new, nothing sent twice.
    const ToolRun again = RunTool(ForwardArguments(server, d.scheme, folder, d.family, dir.file("cursor")));
    ASSERT_EQ(again.status, 0) << again.errors;
    WriteMonth(d.family, folder, 3, 40);
    ASSERT_EQ(RunTool(ForwardArguments(server, d.scheme, folder, d.family, dir.file("cursor"))).status, 0);
    EXPECT_EQ(ReceivedEntries(server.WaitFor(43, 60)), ExpectedEntries(d.family, folder));
}

const Delivery kDeliveries[] = {
    {"log2", "syslog+tcp"}, {"event", "syslog+tcp"}, {"log1", "syslog+tcp"},
    {"log2", "relp"},       {"event", "relp"},       {"log1", "relp"},
    {"log2", "syslog+tls"}, {"event", "syslog+tls"}, {"log1", "syslog+tls"},
    {"event", "relp+tls"},
};

INSTANTIATE_TEST_SUITE_P(Transports, ForwardDeliveryTest, ::testing::ValuesIn(kDeliveries), [](const auto& info) {
    std::string name = std::string(info.param.family) + "_" + info.param.scheme;
    for (char& c : name)
        if (c == '+') c = '_';
    return name;
});

using ForwardTime = WithRsyslogServer;

TEST_F(ForwardTime, TheLocalZoneAndItsOffsetOfTheEntrysSecond) {
    std::filesystem::create_directories(dir.file("ev"));
    WriteTestEvent(dir.file("ev"), {CTime(2024, 3, 30, 23, 59, 58)});
    WriteTestEvent(dir.file("ev"), {CTime(2024, 3, 31, 3, 0, 1)});  // after the change to summer time
    ASSERT_EQ(RunTool({"forward", dir.file("ev"), "--family", "event", "--to", server.Url("syslog+tcp"), "--cursor-file",
                       dir.file("cursor")})
                  .status,
              0);
    const auto received = server.WaitFor(2, 60);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].at("time"), "2024-03-30T23:59:58+01:00");
    EXPECT_EQ(received[1].at("time"), "2024-03-31T03:00:01+02:00");
}

}  // namespace

using ForwardDamage = WithRsyslogServer;

// What comes before the damage is sent; the command then exits 2 naming the file and the offset.
TEST_F(ForwardDamage, TheEntriesBeforeItGoThenExit2) {
    const std::string folder = dir.file("logs");
    WriteMonth("log2", folder, 5);
    // The third log's block loses its tail mark.
    std::uint64_t thirdTail = 0;
    Journal journal(FamilyNamed("log2"));
    ASSERT_TRUE(journal.Open(folder));
    for (int i = 0; i < 3 && journal.Next(); ++i) thirdTail = journal.Offset() + journal.Unit().size() - 1;
    const std::string month = folder + "/202403.log";
    std::vector<std::uint8_t> bytes = ReadBytes(month);
    bytes.at(thirdTail) ^= 0xFF;
    WriteBytes(month, bytes);

    const ToolRun run = RunTool(ForwardArguments(server, "relp", folder, "log2", dir.file("cursor")));
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_NE(run.errors.find("202403.log: damaged at offset"), std::string::npos) << run.errors;
    EXPECT_EQ(server.WaitFor(2, 60).size(), 2u);
}
