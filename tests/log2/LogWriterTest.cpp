#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

#include "log2/CLogManager2.h"
#include "log2/LogFileReader.h"
#include "platform/core/CFile.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

constexpr DWORD kApril2 = 1112436000;  // 2005-04-02 12:00 Berlin (CEST)
constexpr DWORD N = LOG_VALUE_NONE;

class LogWriter : public testing::Test {
protected:
    LogWriter() : tz("Europe/Berlin"), clock(kApril2) { manager.Init(dir.path().c_str()); }

    std::string MonthFile(const char* yyyymm = "200504") const { return dir.file(std::string(yyyymm) + ".log"); }

    // A log with one record of each format, open for five seconds and closed with result 7.
    DWORD WriteThreeFormatLog(const char* name = "three") {
        return WriteTestLog(manager, clock,
                            {.start = CTime(kApril2), .type = 3, .name = name,
                             .records = {{1, 2, 0, 11, 12, 13, 14, "a", "b"},
                                         {2, 3, 1, 21, 22, 23, 24, "c", "d"},
                                         {3, 4, 2, 31, 32, 33, 34, "text one", "text two"}},
                             .end = CTime(kApril2 + 5), .result = 7});
    }

    // Opens a log with a record of each format, to be written by the test.
    DWORD PendingLog(const char* name) {
        const DWORD h = manager.CreateLog(name, 2);
        manager.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr);
        manager.AddLogRecord2(h, 1, 2, 1, 5, 6, N, N, nullptr, nullptr);
        manager.AddLogRecord2(h, 1, 3, 2, 7, N, N, N, "seven", "eight");
        return h;
    }

    // The cause of the file error that closing the log raises; `none` if it raises none.
    CFileException::Cause UpdateFailure(DWORD h) {
        try {
            manager.UpdateLog(h, 0);
        } catch (const CFileException& e) {
            return e.m_cause;
        }
        return CFileException::none;
    }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    FaultyFiles faults;  // fail the writer's file operations on cue
    CLogManager2 manager{faults.Factory()};
};

}  // namespace

TEST_F(LogWriter, ALogOfThreeFormatsIsOneBlockOfAHundredAndFortyFiveBytes) {
    const DWORD h = WriteThreeFormatLog();
    const auto bytes = ReadBytes(MonthFile());
    ASSERT_EQ(bytes.size(), 150u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 5), (std::vector<std::uint8_t>{1, 0, 0, 0, 0x0A}));
    const std::uint8_t* head = bytes.data() + 5;
    EXPECT_EQ(GetU32(head), h);
    EXPECT_EQ(GetU32(head + 4), kApril2 + 5);
    EXPECT_EQ(GetU32(head + 8), 3u);
    EXPECT_EQ(head[12], 3);
    EXPECT_EQ(head[13], 7);
    EXPECT_STREQ(reinterpret_cast<const char*>(head + 14), "three");
    const std::uint8_t* r = head + 36;
    EXPECT_EQ(std::vector<std::uint8_t>(r, r + 4), (std::vector<std::uint8_t>{3, 1, 2, 0})) << "format 0: key only";
    r += 4;
    EXPECT_EQ(std::vector<std::uint8_t>(r, r + 4), (std::vector<std::uint8_t>{3, 2, 3, 1}));
    EXPECT_EQ(GetU32(r + 4), 21u);
    EXPECT_EQ(GetU32(r + 16), 24u);
    r += 20;
    EXPECT_EQ(r[3], 2);
    EXPECT_EQ(GetU32(r + 16), 34u);
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 20), "text one");
    EXPECT_STREQ(reinterpret_cast<const char*>(r + 52), "text two");
    EXPECT_EQ(r[84], 0x0A) << "tail mark";
}

TEST_F(LogWriter, ASecondLogRaisesTheCountAndLeavesTheFirstBlockAlone) {
    WriteThreeFormatLog("first");
    const auto before = ReadBytes(MonthFile());
    WriteThreeFormatLog("second");
    const auto after = ReadBytes(MonthFile());
    ASSERT_EQ(after.size(), 295u);
    EXPECT_EQ(GetU32(after.data()), 2u);
    EXPECT_TRUE(std::equal(before.begin() + 4, before.end(), after.begin() + 4));
    const LogFileContents contents = ParseLogFile(after);
    ASSERT_EQ(contents.blocks.size(), 2u);
    EXPECT_STREQ(contents.blocks[1].header.name, "second");
    EXPECT_FALSE(contents.damage);
}

TEST_F(LogWriter, NumbersArePositionalAndTextsAreCut) {
    struct Case {
        DWORD in[4];
        DWORD stored[4];
    } cases[] = {
        {{7, N, 9, 1}, {7, 0, 0, 0}},
        {{N, 2, 3, 4}, {0, 0, 0, 0}},
        {{1, 2, 3, N}, {1, 2, 3, 0}},
        {{1, 2, 3, 4}, {1, 2, 3, 4}},
        {{0, 0xFFFFFFFF, N, 4}, {0, 0xFFFFFFFF, 0, 0}},
    };
    const std::string longText(40, 'x');
    const DWORD h = manager.CreateLog("values", 1);
    for (const Case& c : cases)
        manager.AddLogRecord2(h, 1, 1, 2, c.in[0], c.in[1], c.in[2], c.in[3], longText.c_str(), "second");
    manager.AddLogRecord2(h, 1, 1, 2, 1, 2, 3, 4, nullptr, "dropped without text1");
    ASSERT_EQ(manager.UpdateLog(h, 0), 1);

    const LogFileContents contents = ParseLogFile(ReadBytes(MonthFile()));
    ASSERT_EQ(contents.blocks.size(), 1u);
    const auto& records = contents.blocks[0].records;
    ASSERT_EQ(records.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const DWORD got[4] = {records[i].value1, records[i].value2, records[i].value3, records[i].value4};
        EXPECT_TRUE(std::equal(got, got + 4, cases[i].stored)) << "case " << i;
        EXPECT_EQ(std::string(records[i].text1, strnlen(records[i].text1, 32)), std::string(31, 'x'));
        EXPECT_EQ(records[i].text1[31], '\0');
        EXPECT_STREQ(records[i].text2, "second");
    }
    EXPECT_STREQ(records.back().text2, "") << "text2 is kept only with text1";
}

TEST_F(LogWriter, NamesFillTheirFieldOrAreCut) {
    const std::string exact(21, 'n'), longer(30, 'm');
    const DWORD a = manager.CreateLog(exact.c_str(), 1);
    const DWORD b = manager.CreateLog(longer.c_str(), 1);
    for (const DWORD h : {a, b}) {
        manager.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr);
        ASSERT_EQ(manager.UpdateLog(h, 0), 1);
    }
    const auto bytes = ReadBytes(MonthFile());
    const std::uint8_t* nameA = bytes.data() + 5 + 14;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(nameA), 21), exact);
    EXPECT_EQ(nameA[21], 0) << "the terminating zero is the field's last byte";
    const auto contents = ParseLogFile(bytes);
    EXPECT_EQ(std::string(contents.blocks[1].header.name), std::string(21, 'm'));
}

TEST_F(LogWriter, HandlesStayUniqueWithinASecondAndWhenTheClockGoesBack) {
    const DWORD a = manager.CreateLog("a", 1);
    const DWORD b = manager.CreateLog("b", 1);
    EXPECT_EQ(a, kApril2);
    EXPECT_EQ(b, kApril2 + 1);
    clock.Set(kApril2 - 3600);
    EXPECT_EQ(manager.CreateLog("c", 1), kApril2 + 2);
    clock.Set(kApril2 + 100);
    EXPECT_EQ(manager.CreateLog("d", 1), kApril2 + 100);
}

TEST_F(LogWriter, ALogIsFiledUnderTheLocalMonthItWasOpenedIn) {
    const DWORD lastSecondOfMarch = 1112306399;  // 2005-03-31 23:59:59 CEST
    clock.Set(lastSecondOfMarch);
    const DWORD h = manager.CreateLog("across", 2);
    manager.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr);
    clock.Set(lastSecondOfMarch + 120);
    ASSERT_EQ(manager.UpdateLog(h, 0), 1);
    EXPECT_TRUE(FileExists(MonthFile("200503").c_str()));
    EXPECT_FALSE(FileExists(MonthFile("200504").c_str()));
    EXPECT_EQ(ParseLogFile(ReadBytes(MonthFile("200503"))).blocks.at(0).header.endTime, lastSecondOfMarch + 120);
}

TEST_F(LogWriter, UnknownHandlesAreRefusedAndWrittenLogsForgotten) {
    EXPECT_EQ(manager.AddLogRecord2(12345, 1, 1, 0, N, N, N, N, nullptr, nullptr), 0);
    EXPECT_EQ(manager.UpdateLog(0, 0), 0);
    EXPECT_EQ(manager.WriteLog(0), 0);
    const DWORD h = WriteThreeFormatLog();
    EXPECT_EQ(manager.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr), 0);
    EXPECT_EQ(manager.UpdateLog(h, 0), 0);
    EXPECT_EQ(manager.PendingLogCount(), 0);
}

TEST_F(LogWriter, ALogWithoutRecordsStaysPendingAndLeavesAnEmptyFile) {
    const DWORD h = manager.CreateLog("empty", 1);
    EXPECT_EQ(manager.UpdateLog(h, 0), 0);
    EXPECT_EQ(manager.PendingLogCount(), 1);
    EXPECT_EQ(ReadBytes(MonthFile()).size(), 0u);
    // The zero-length file is then taken as a new file.
    manager.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr);
    EXPECT_EQ(manager.UpdateLog(h, 0), 1);
    EXPECT_EQ(GetU32(ReadBytes(MonthFile()).data()), 1u);
}

TEST_F(LogWriter, WithoutAFolderNothingIsWrittenUntilInit) {
    CLogManager2 fresh;
    const DWORD h = fresh.CreateLog("later", 1);
    fresh.AddLogRecord2(h, 1, 1, 0, N, N, N, N, nullptr, nullptr);
    EXPECT_EQ(fresh.WriteLog(h), 0);
    EXPECT_EQ(fresh.PendingLogCount(), 1);
    fresh.Init(dir.path().c_str());
    EXPECT_EQ(fresh.WriteLog(h), 1);
    EXPECT_EQ(ReadBytes(MonthFile()).size(), 5u + 36 + 4 + 1);
}

TEST_F(LogWriter, AFileWithABadHeaderMarkIsLeftAloneAndTheLogWaits) {
    const std::vector<std::uint8_t> foreign = {1, 0, 0, 0, 'X', 'n', 'o', 't', ' ', 'a', ' ', 'l', 'o', 'g'};
    for (const auto& bad : {foreign, std::vector<std::uint8_t>{1, 0, 0}}) {
        WriteBytes(MonthFile(), bad);
        const DWORD h = manager.CreateLog("waits", 1);
        manager.AddLogRecord2(h, 1, 1, 1, 5, N, N, N, nullptr, nullptr);
        EXPECT_EQ(manager.UpdateLog(h, 0), 0);
        EXPECT_EQ(ReadBytes(MonthFile()), bad) << "the file is untouched";

        std::remove(MonthFile().c_str());  // the host repairs the folder; the same log now goes through
        EXPECT_EQ(manager.UpdateLog(h, 0), 1);
        EXPECT_EQ(ParseLogFile(ReadBytes(MonthFile())).blocks.at(0).records.at(0).value1, 5u);
        std::remove(MonthFile().c_str());
    }
}

TEST_F(LogWriter, AnOddFormatIsStoredWithItsNumbersSoTheFileStaysReadable) {
    const DWORD h = manager.CreateLog("odd", 1);
    manager.AddLogRecord2(h, 1, 1, 9, 1, 2, 3, 4, "t", nullptr);
    manager.AddLogRecord2(h, 1, 2, 2, 5, N, N, N, "after", nullptr);
    ASSERT_EQ(manager.UpdateLog(h, 0), 1);
    const auto contents = ParseLogFile(ReadBytes(MonthFile()));
    ASSERT_FALSE(contents.damage);
    ASSERT_EQ(contents.blocks.at(0).records.size(), 2u);
    EXPECT_EQ(contents.blocks[0].records[0].value4, 4u);
    EXPECT_STREQ(contents.blocks[0].records[1].text1, "after");
}

// A write cut short by the platform (here: the file-size limit) reaches the caller as a file
// error, keeps the log pending, and leaves the month file exactly as it was.
TEST_F(LogWriter, AnInterruptedWriteKeepsTheLogAndTheFileIntact) {
    WriteThreeFormatLog("kept");
    const auto before = ReadBytes(MonthFile());

    const DWORD h = manager.CreateLog("too big", 1);
    for (int i = 0; i < 100; ++i) manager.AddLogRecord2(h, 1, 1, 2, 1, 2, 3, 4, "x", "y");
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(manager.UpdateLog(h, 0), CFileException);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadBytes(MonthFile()), before);
    EXPECT_EQ(manager.PendingLogCount(), 1);
    EXPECT_EQ(manager.UpdateLog(h, 0), 1) << "the host may try again";
    EXPECT_EQ(ParseLogFile(ReadBytes(MonthFile())).blocks.size(), 2u);
}

TEST_F(LogWriter, RecordsOfInterleavedLogsLeaveInTheOrderTheyWereAdded) {
    const DWORD a = manager.CreateLog("a", 1);
    const DWORD b = manager.CreateLog("b", 2);
    for (DWORD i = 1; i <= 5; ++i) {
        manager.AddLogRecord2(a, 1, 1, 1, i, N, N, N, nullptr, nullptr);
        manager.AddLogRecord2(b, 1, 1, 1, 100 + i, N, N, N, nullptr, nullptr);
    }
    ASSERT_EQ(manager.UpdateLog(b, 0), 1);
    ASSERT_EQ(manager.UpdateLog(a, 0), 1);
    const auto contents = ParseLogFile(ReadBytes(MonthFile()));
    ASSERT_EQ(contents.blocks.size(), 2u);
    EXPECT_EQ(contents.blocks[0].header.handle, b) << "blocks are in the order logs were closed";
    for (DWORD i = 0; i < 5; ++i) {
        EXPECT_EQ(contents.blocks[0].records[i].value1, 101 + i);
        EXPECT_EQ(contents.blocks[1].records[i].value1, 1 + i);
        EXPECT_EQ(contents.blocks[1].records[i].type, 1) << "records carry their log's type";
    }
}

TEST_F(LogWriter, AMonthFileMovedAwayBetweenLogsIsStartedAgain) {
    WriteThreeFormatLog("first");
    ASSERT_EQ(std::rename(MonthFile().c_str(), (MonthFile() + ".old").c_str()), 0);
    WriteThreeFormatLog("second");
    const auto contents = ParseLogFile(ReadBytes(MonthFile()));
    EXPECT_EQ(contents.blockCount, 1u);
    ASSERT_EQ(contents.blocks.size(), 1u);
    EXPECT_STREQ(contents.blocks[0].header.name, "second");
    EXPECT_EQ(ParseLogFile(ReadBytes(MonthFile() + ".old")).blocks.size(), 1u) << "the moved file is not written";
}

// An append writes the block, then the header's count. Whichever of the two writes fails, and
// however much of it reached the disk, the file is cut back to what it held before the log, and
// the log waits whole for the next try.
TEST_F(LogWriter, AFailedWriteLeavesTheFileAsBeforeTheLogAndTheRetryGoesInWhole) {
    struct Case {
        int failingWrite;
        UINT written;
        bool earlierLog;  // else the log is the month file's first
    } cases[] = {
        {1, 0, true}, {1, 20, true}, {2, 0, true}, {2, 3, true}, {1, 20, false}, {2, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "write " << c.failingWrite << ", " << c.written << " bytes of it, "
                                        << (c.earlierLog ? "after a log" : "into a new file"));
        std::remove(MonthFile().c_str());
        if (c.earlierLog) WriteThreeFormatLog("earlier");
        const auto before = ReadBytes(MonthFile());

        const DWORD h = PendingLog("failing");
        faults.FailWrite(c.failingWrite, c.written);
        EXPECT_EQ(UpdateFailure(h), CFileException::diskFull);
        EXPECT_EQ(ReadBytes(MonthFile()), before);
        EXPECT_EQ(manager.PendingLogCount(), 1);

        ASSERT_EQ(manager.UpdateLog(h, 0), 1);
        const LogFileContents contents = ParseLogFile(ReadBytes(MonthFile()));
        EXPECT_FALSE(contents.damage);
        EXPECT_EQ(contents.trailingBytes, 0u);
        ASSERT_EQ(contents.blocks.size(), c.earlierLog ? 2u : 1u);
        const LogBlock& retried = contents.blocks.back();
        EXPECT_STREQ(retried.header.name, "failing");
        ASSERT_EQ(retried.records.size(), 3u);
        EXPECT_STREQ(retried.records[2].text1, "seven");
    }
}

// The cut-back after a failed write may fail too; the caller still hears of the write's fault.
TEST_F(LogWriter, WhenTheCutBackFailsTooTheWriteErrorIsRaised) {
    WriteThreeFormatLog("earlier");
    const auto before = ReadBytes(MonthFile());
    const DWORD h = PendingLog("failing");
    faults.FailWrite(1);
    faults.FailSetLength(1);
    EXPECT_EQ(UpdateFailure(h), CFileException::diskFull);
    EXPECT_EQ(ReadBytes(MonthFile()), before) << "nothing of the failed write reached the file";
    EXPECT_EQ(manager.UpdateLog(h, 0), 1);
}

// A month file whose header cannot be read whole is not extended: the log waits.
TEST_F(LogWriter, AShortReadOfTheHeaderLeavesTheFileAloneAndTheLogWaiting) {
    WriteThreeFormatLog("earlier");
    const auto before = ReadBytes(MonthFile());
    const DWORD h = PendingLog("waiting");
    faults.ShortRead(1, 2);
    EXPECT_EQ(manager.UpdateLog(h, 0), 0);
    EXPECT_EQ(ReadBytes(MonthFile()), before);
    EXPECT_EQ(manager.PendingLogCount(), 1);
    EXPECT_EQ(manager.UpdateLog(h, 0), 1);
    EXPECT_EQ(ParseLogFile(ReadBytes(MonthFile())).blocks.size(), 2u);
}
