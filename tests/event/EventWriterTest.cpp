#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <unistd.h>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "platform/core/CFile.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD kMay2 = 1115028000;  // 2005-05-02 12:00 CEST

class EventWriter : public testing::Test {
protected:
    EventWriter() : tz("Europe/Berlin"), clock(kMay2) { manager.Init(dir.path().c_str()); }
    std::string MonthFile(const char* yyyymm) const { return dir.file(std::string(yyyymm) + ".evt"); }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    CEventManager manager;
};

}  // namespace

TEST_F(EventWriter, AppendsOneMarkedRecordOfThirtySixBytes) {
    manager.AddEventLog(3, 1, 1, 0, 1, "Door");
    const auto bytes = ReadBytes(MonthFile("200505"));
    ASSERT_EQ(bytes.size(), 36u);
    EXPECT_EQ(GetU32(bytes.data()), kMay2) << "time 0 means now";
    EXPECT_EQ(GetU32(bytes.data() + 4), 3u);
    EXPECT_EQ(GetU32(bytes.data() + 8), 1u);
    EXPECT_EQ(GetU32(bytes.data() + 12), 0u);
    EXPECT_EQ(bytes[16], 1);
    EXPECT_EQ(bytes[17], 1);
    EXPECT_EQ(bytes[18], 0);
    EXPECT_EQ(std::string(bytes.begin() + 19, bytes.begin() + 23), "Door");
    for (int i = 23; i < 35; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[35], 0x0A);
}

TEST_F(EventWriter, AnEventGoesToTheFileOfItsOwnLocalMonth) {
    const DWORD lastSecondOfJanuary = 1107212399;  // 2005-01-31 23:59:59 CET
    manager.AddEventLog(1, 0, 2, lastSecondOfJanuary, 2, nullptr);
    EXPECT_EQ(ReadBytes(MonthFile("200501")).size(), 36u);
    EXPECT_FALSE(FileExists(MonthFile("200505").c_str()));
}

TEST_F(EventWriter, LongTextsAreCutToFifteenCharacters) {
    manager.AddEventLog(1, 0, 1, 0, 1, "a text far longer than its field");
    const auto contents = ParseEventFile(ReadBytes(MonthFile("200505")));
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_TRUE(contents.records[0].valid);
    EXPECT_EQ(std::string(contents.records[0].event.text), "a text far long");
}

TEST_F(EventWriter, AShortFolderWritesNothing) {
    CEventManager shortFolder;
    shortFolder.Init("C:");
    EXPECT_EQ(chdir(dir.path().c_str()), 0);
    shortFolder.AddEventLog(1, 1, 1, 0, 1, "x");
    EXPECT_FALSE(FileExists("C:/200505.evt"));
    CEventManager unset;
    unset.AddEventLog(1, 1, 1, 0, 1, "x");
}

TEST_F(EventWriter, EightThreadsAppendWithoutLosingOrTearingARecord) {
    constexpr int kThreads = 8, kEach = 400;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([this, t] {
            for (int i = 0; i < kEach; ++i) {
                const std::string text = "t" + std::to_string(t) + "-" + std::to_string(i);
                manager.AddEventLog(static_cast<DWORD>(t + 1), static_cast<DWORD>(i), 1, kMay2 + i, 1, text.c_str());
            }
        });
    for (auto& thread : threads) thread.join();

    const auto contents = ParseEventFile(ReadBytes(MonthFile("200505")));
    EXPECT_EQ(contents.trailingBytes, 0u);
    ASSERT_EQ(contents.records.size(), size_t{kThreads * kEach});
    std::set<std::pair<DWORD, DWORD>> seen;
    for (const auto& e : contents.records) {
        ASSERT_TRUE(e.valid) << "record at " << e.offset;
        const std::string expected = "t" + std::to_string(e.event.channel - 1) + "-" + std::to_string(e.event.actions);
        EXPECT_EQ(std::string(e.event.text), expected) << "a record mixes two events";
        EXPECT_EQ(e.event.time, kMay2 + e.event.actions);
        seen.insert({e.event.channel, e.event.actions});
    }
    EXPECT_EQ(seen.size(), size_t{kThreads * kEach}) << "every event is there once";
}

// A write error reaches the caller, and the object's lock is released on that path: another
// thread can report the next event.
TEST_F(EventWriter, AWriteErrorIsRaisedAndTheLockReleased) {
    FaultyFiles faults;
    CEventManager writer(faults.Factory());
    writer.Init(dir.path().c_str());
    faults.FailWrite(1);
    EXPECT_THROW(writer.AddEventLog(1, 1, 1, 0, 1, "lost"), CFileException);
    std::thread other([&writer] { writer.AddEventLog(2, 1, 1, 1107212399, 1, "next"); });
    other.join();
    EXPECT_EQ(ReadBytes(MonthFile("200501")).size(), 36u);
    EXPECT_EQ(ReadBytes(MonthFile("200505")).size(), 0u) << "nothing of the failed event is left";
}

// A write that fails part-way through an event raises the error; the whole events before it stay
// as they were.
TEST_F(EventWriter, AFailedWriteIsRaisedAndTheEarlierEventsStayWhole) {
    FaultyFiles faults;
    CEventManager writer(faults.Factory());
    writer.Init(dir.path().c_str());
    writer.AddEventLog(1, 0, 1, 0, 1, "first");
    writer.AddEventLog(2, 0, 1, 0, 1, "second");
    const auto before = ReadBytes(MonthFile("200505"));

    faults.FailWrite(1, 10);
    EXPECT_THROW(writer.AddEventLog(3, 0, 1, 0, 1, "third"), CFileException);
    const auto after = ReadBytes(MonthFile("200505"));
    ASSERT_GE(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
    const auto contents = ParseEventFile(before);
    ASSERT_EQ(contents.records.size(), 2u);
    EXPECT_STREQ(contents.records[1].event.text, "second");
}

// The writer keeps its month file open between events; a file deleted or replaced meanwhile (as
// the browser's delete does) must not swallow the next event.
TEST_F(EventWriter, AFileDeletedOrReplacedBetweenEventsIsOpenedAfresh) {
    manager.AddEventLog(1, 0, 1, 0, 1, "first");
    ASSERT_EQ(std::remove(MonthFile("200505").c_str()), 0);
    manager.AddEventLog(2, 0, 1, 0, 1, "second");
    auto contents = ParseEventFile(ReadBytes(MonthFile("200505")));
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_STREQ(contents.records[0].event.text, "second");

    WriteBytes(MonthFile("200505") + ".new", {});
    ASSERT_EQ(std::rename((MonthFile("200505") + ".new").c_str(), MonthFile("200505").c_str()), 0);
    manager.AddEventLog(3, 0, 1, 0, 1, "third");
    contents = ParseEventFile(ReadBytes(MonthFile("200505")));
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_STREQ(contents.records[0].event.text, "third");
}

TEST_F(EventWriter, EventsOfAlternatingMonthsEachReachTheirOwnFile) {
    const DWORD january = 1107212399, may = kMay2;
    for (int i = 0; i < 3; ++i) {
        manager.AddEventLog(1, 0, 1, january, 1, "jan");
        manager.AddEventLog(1, 0, 1, may, 1, "may");
    }
    EXPECT_EQ(ReadBytes(MonthFile("200501")).size(), 3 * 36u);
    EXPECT_EQ(ReadBytes(MonthFile("200505")).size(), 3 * 36u);
}
