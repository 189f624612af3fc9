// The log writer with other writers and after crashes: several processes appending to one month
// file, writers killed at every point of an append, month files that are not plain files, damaged
// files refused and repaired.
#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "log2/CLogManager2.h"
#include "log2/LogFileRepair.h"
#include "log2/LogFileReader.h"
#include "log2/LogMonthData.h"
#include "platform/core/CFile.h"
#include "platform/core/FileSystem.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

constexpr DWORD kApril2 = 1112436000;  // 2005-04-02 12:00 Berlin (CEST)
constexpr DWORD N = LOG_VALUE_NONE;

// Writes a log named `name` whose `records` records carry 1, 2, ... as value1; 1 if written.
int WriteNamedLog(CLogManager2& writer, const std::string& name, int records = 3) {
    const DWORD h = writer.CreateLog(name.c_str(), 1);
    for (int i = 1; i <= records; ++i) writer.AddLogRecord2(h, 1, 1, 2, DWORD(i), N, N, N, name.c_str(), "x");
    return writer.UpdateLog(h, 0);
}

std::vector<std::string> Names(const LogFileContents& contents) {
    std::vector<std::string> names;
    for (const LogBlock& block : contents.blocks) names.emplace_back(block.header.name);
    return names;
}

// The file holds `names` in this order, counted, whole and with nothing after them.
void ExpectWholeFile(const std::string& path, const std::vector<std::string>& names) {
    const LogFileContents contents = ParseLogFile(ReadBytes(path));
    EXPECT_FALSE(contents.damage) << contents.damage->reason;
    EXPECT_EQ(contents.trailingBytes, 0u);
    EXPECT_EQ(contents.blockCount, names.size());
    EXPECT_EQ(Names(contents), names);
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, size_t from, size_t to) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to)};
}

std::vector<std::uint8_t> Joined(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LogWriterRecovery : public testing::Test {
protected:
    LogWriterRecovery() : tz("Europe/Berlin"), clock(kApril2) {}
    std::string MonthFile() const { return dir.file("200504.log"); }

    // A writer of its own, as another process or a restarted host has.
    int WriteWithNewWriter(const std::string& name) {
        CLogManager2 writer;
        writer.Init(dir.path().c_str());
        return WriteNamedLog(writer, name);
    }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
};

}  // namespace

// What a writer killed during its append leaves, at each point: the block cut off anywhere, the
// block whole with the header not yet rewritten, a new file with its header alone. The next
// writer cuts a torn block off, counts a whole one in, and its own log follows whole.
TEST_F(LogWriterRecovery, AWriterKilledAtAnyPointOfItsAppendLeavesAFileTheNextWriterMends) {
    ASSERT_EQ(WriteWithNewWriter("first"), 1);
    const auto one = ReadBytes(MonthFile());
    ASSERT_EQ(WriteWithNewWriter("second"), 1);
    const auto two = ReadBytes(MonthFile());
    const auto block = Slice(two, one.size(), two.size());
    const std::vector<std::uint8_t> newHeader = {0, 0, 0, 0, 0x0A};

    struct Case {
        const char* what;
        std::vector<std::uint8_t> left;
        std::vector<std::string> kept;
    } cases[] = {
        {"one byte of the block", Joined(one, Slice(block, 0, 1)), {"first"}},
        {"the block's head", Joined(one, Slice(block, 0, 36)), {"first"}},
        {"into a record", Joined(one, Slice(block, 0, 50)), {"first"}},
        {"all but the tail mark", Joined(one, Slice(block, 0, block.size() - 1)), {"first"}},
        {"the whole block, old header", Joined(one, block), {"first", "second"}},
        {"a new file's header alone", newHeader, {}},
        {"a new file's header and part of its block", Joined(newHeader, Slice(block, 0, 40)), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(MonthFile(), c.left);
        ASSERT_EQ(WriteWithNewWriter("next"), 1);
        auto expected = c.kept;
        expected.push_back("next");
        ExpectWholeFile(MonthFile(), expected);
    }
}

// The fault seam stops a writer part-way through a write and fails the cut-back too, so that its
// half block stays in the file: the same writer's next log mends the file first.
TEST_F(LogWriterRecovery, AHalfWrittenBlockThatCouldNotBeCutBackIsCutByTheNextAppend) {
    struct Case {
        int failingWrite;  // 1 the block, 2 the header
        UINT written;
    } cases[] = {{1, 1}, {1, 37}, {1, 100}, {2, 0}, {2, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "write " << c.failingWrite << ", " << c.written << " bytes of it");
        std::remove(MonthFile().c_str());
        FaultyFiles faults;
        CLogManager2 writer(faults.Factory());
        writer.Init(dir.path().c_str());
        ASSERT_EQ(WriteNamedLog(writer, "before"), 1);
        faults.FailWrite(c.failingWrite, c.written);
        faults.FailSetLength(1);
        EXPECT_THROW(WriteNamedLog(writer, "failing"), CFileException);
        ASSERT_EQ(WriteNamedLog(writer, "after"), 1);
        const LogFileContents contents = ParseLogFile(ReadBytes(MonthFile()));
        EXPECT_FALSE(contents.damage);
        EXPECT_EQ(contents.trailingBytes, 0u);
        // A header write that failed found its block whole: that block is counted in.
        const std::vector<std::string> failedWhole = {"before", "failing", "after"}, failedCut = {"before", "after"};
        EXPECT_EQ(Names(contents), c.failingWrite == 2 ? failedWhole : failedCut);
        EXPECT_EQ(writer.PendingLogCount(), 1) << "the failed log waits for a retry";
    }
}

// A writer process killed for real, wherever its append happens to be.
TEST_F(LogWriterRecovery, AWriterProcessKilledMidWriteLeavesNoBlockThatBuriesLaterOnes) {
    CLogManager2 writer;
    writer.Init(dir.path().c_str());
    ASSERT_TRUE(KillWhenFileReaches(MonthFile(), 2'000'000, [&] { WriteNamedLog(writer, "busy", 200); }));

    ASSERT_EQ(WriteWithNewWriter("after"), 1);
    const LogFileContents contents = ParseLogFile(ReadBytes(MonthFile()));
    EXPECT_FALSE(contents.damage);
    EXPECT_EQ(contents.trailingBytes, 0u);
    ASSERT_GE(contents.blocks.size(), 2u);
    EXPECT_STREQ(contents.blocks.back().header.name, "after");
    for (const LogBlock& b : contents.blocks) EXPECT_EQ(b.records.size(), b.header.recordCount);
}

// Several processes, each with its own writer, append to one month file at once: every log is
// there once, whole and counted.
TEST_F(LogWriterRecovery, SeveralProcessesAppendToOneMonthFileAndNothingIsLost) {
    constexpr int kProcesses = 4, kLogs = 150;
    EXPECT_TRUE(RunInChildren(kProcesses, [&](int p) {
        CLogManager2 writer;
        writer.Init(dir.path().c_str());
        int written = 0;
        for (int i = 0; i < kLogs; ++i)
            written += WriteNamedLog(writer, "p" + std::to_string(p) + "-" + std::to_string(i), 1 + i % 5);
        return written == kLogs;
    }));
    const LogFileContents contents = ParseLogFile(ReadBytes(MonthFile()));
    EXPECT_FALSE(contents.damage);
    EXPECT_EQ(contents.trailingBytes, 0u);
    EXPECT_EQ(contents.blockCount, size_t{kProcesses * kLogs});
    std::set<std::string> names;
    for (const LogBlock& b : contents.blocks) {
        names.insert(b.header.name);
        ASSERT_EQ(b.records.size(), b.header.recordCount);
        for (size_t r = 0; r < b.records.size(); ++r) EXPECT_EQ(b.records[r].value1, r + 1) << b.header.name;
    }
    EXPECT_EQ(names.size(), size_t{kProcesses * kLogs}) << "every log once";
}

// A browser takes no lock: loading while another process appends gives whole blocks only, the
// last ones perhaps not yet counted, and never a damaged month.
TEST_F(LogWriterRecovery, AMonthLoadedWhileAnotherProcessAppendsIsNeverDamaged) {
    ASSERT_EQ(WriteWithNewWriter("first"), 1);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CLogManager2 writer;
        writer.Init(dir.path().c_str());
        for (int i = 0; i < 400; ++i) WriteNamedLog(writer, "busy", 1 + i % 7);
        _exit(0);
    }
    int status = 0, loads = 0;
    CLogMonthData month;
    while (waitpid(child, &status, WNOHANG) == 0 || loads == 0) {
        const LogMonthLoad load = month.Load(dir.path(), {2005, 4});
        ++loads;
        EXPECT_TRUE(load == LogMonthLoad::loaded || load == LogMonthLoad::cutShort) << int(load);
        for (int i = 0; i < month.Logs().GetSize(); ++i) EXPECT_GE(month.Logs()[i].header.recordCount, 1u);
    }
    EXPECT_EQ(month.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);
    EXPECT_EQ(month.Logs().GetSize(), 401);
}

// A symlink or a FIFO planted where the month file goes is refused: nothing is followed, nothing
// waits, and the log stays pending.
TEST_F(LogWriterRecovery, AMonthFileThatIsNotAPlainFileIsRefused) {
    const std::string target = dir.file("target");
    WriteBytes(target, {1, 2, 3});
    for (const bool fifo : {false, true}) {
        SCOPED_TRACE(fifo ? "FIFO" : "symlink");
        std::remove(MonthFile().c_str());
        ASSERT_EQ(fifo ? mkfifo(MonthFile().c_str(), 0600) : symlink(target.c_str(), MonthFile().c_str()), 0);
        CLogManager2 writer;
        writer.Init(dir.path().c_str());
        EXPECT_EQ(WriteNamedLog(writer, "refused"), 0);
        EXPECT_EQ(writer.PendingLogCount(), 1);
        EXPECT_NE(writer.LastRefusal().find("plain file"), std::string::npos) << writer.LastRefusal();
        EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
    }
}

// A month file damaged before its end is never appended to: whatever followed would be hidden.
TEST_F(LogWriterRecovery, AFileDamagedInTheMiddleIsRefusedWithWhereItIsDamaged) {
    ASSERT_EQ(WriteWithNewWriter("first"), 1);
    const size_t firstEnd = ReadBytes(MonthFile()).size();
    ASSERT_EQ(WriteWithNewWriter("second"), 1);
    auto bytes = ReadBytes(MonthFile());
    bytes[firstEnd - 1] = 'X';  // the first block's tail mark
    WriteBytes(MonthFile(), bytes);

    CLogManager2 writer;
    writer.Init(dir.path().c_str());
    EXPECT_EQ(WriteNamedLog(writer, "refused"), 0);
    EXPECT_EQ(ReadBytes(MonthFile()), bytes) << "the file is untouched";
    EXPECT_NE(writer.LastRefusal().find("offset " + std::to_string(firstEnd - 1)), std::string::npos)
        << writer.LastRefusal();
}

// Repair keeps every whole block before the damage, counted, in a new file; the damaged file is
// kept beside it as it was.
TEST_F(LogWriterRecovery, RepairKeepsTheWholeBlocksBeforeTheDamage) {
    ASSERT_EQ(WriteWithNewWriter("first"), 1);
    const auto one = ReadBytes(MonthFile());
    ASSERT_EQ(WriteWithNewWriter("second"), 1);
    ASSERT_EQ(WriteWithNewWriter("third"), 1);
    const auto three = ReadBytes(MonthFile());
    auto badMark = three;
    badMark[one.size() + 8] = 0;  // the second block's record count: its tail mark is then misplaced
    auto uncounted = three;
    uncounted[0] = 2;

    struct Case {
        const char* what;
        std::vector<std::uint8_t> damaged;
        std::vector<std::string> kept;
    } cases[] = {
        {"a torn block at the end", Joined(one, {1, 2, 3}), {"first"}},
        {"a damaged second block", badMark, {"first"}},
        {"a whole block the header does not count", uncounted, {"first", "second", "third"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove((MonthFile() + ".damaged").c_str());
        WriteBytes(MonthFile(), c.damaged);
        const MonthFileRepair repair = RepairLogFile(MonthFile());
        EXPECT_TRUE(repair.repaired);
        EXPECT_EQ(repair.kept, c.kept.size());
        EXPECT_EQ(repair.damagedCopy, MonthFile() + ".damaged");
        EXPECT_EQ(ReadBytes(repair.damagedCopy), c.damaged);
        ExpectWholeFile(MonthFile(), c.kept);
        ASSERT_EQ(WriteWithNewWriter("after"), 1) << "the repaired file takes appends";
    }

    const auto whole = ReadBytes(MonthFile());
    EXPECT_FALSE(RepairLogFile(MonthFile()).repaired) << "a whole file is left alone";
    EXPECT_EQ(ReadBytes(MonthFile()), whole);
    WriteBytes(MonthFile(), {1, 0, 0, 0, 'X', 1});
    EXPECT_THROW(RepairLogFile(MonthFile()), LogFileNotALog);
    EXPECT_THROW(RepairLogFile(dir.file("missing.log")), CFileException);
}

// A month that can never be written while the host ignores every 0: the refused logs stay pending
// for another try, but only the newest kMaxRefusedLogs of them; the host can read how many writes
// were refused, how many logs were let go, and why. Once the month is repaired, a kept log is
// written on its next try.
TEST_F(LogWriterRecovery, RefusedLogsWaitForAnotherTryButNeverWithoutBound) {
    ASSERT_EQ(WriteWithNewWriter("first"), 1);
    ASSERT_EQ(WriteWithNewWriter("second"), 1);
    auto bytes = ReadBytes(MonthFile());
    bytes[5 + 8] += 1;  // the first block's record count
    WriteBytes(MonthFile(), bytes);

    CLogManager2 writer;
    writer.Init(dir.path().c_str());
    constexpr int kLogs = CLogManager2::kMaxRefusedLogs + 44;
    std::vector<DWORD> handles;
    for (int i = 0; i < kLogs; ++i) {
        handles.push_back(writer.CreateLog("refused", 1));
        writer.AddLogRecord2(handles.back(), 1, 1, 1, DWORD(i), N, N, N, nullptr, nullptr);
        EXPECT_EQ(writer.UpdateLog(handles.back(), 0), 0);
    }
    EXPECT_EQ(writer.PendingLogCount(), CLogManager2::kMaxRefusedLogs);
    EXPECT_EQ(writer.RefusalCount(), std::uint64_t{kLogs});
    EXPECT_EQ(writer.DiscardedLogCount(), 44u);
    EXPECT_NE(writer.LastRefusal().find("damaged at offset"), std::string::npos) << writer.LastRefusal();
    EXPECT_EQ(ReadBytes(MonthFile()), bytes) << "the damaged month is untouched";
    EXPECT_EQ(writer.UpdateLog(handles.front(), 0), 0) << "the oldest refused log was let go";

    RepairLogFile(MonthFile());
    EXPECT_EQ(writer.UpdateLog(handles.back(), 0), 1);
    EXPECT_EQ(writer.PendingLogCount(), CLogManager2::kMaxRefusedLogs - 1);
}
