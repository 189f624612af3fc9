#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "log2/LogMonthData.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

class LogMonth : public testing::Test {
protected:
    LogMonth() : tz("Europe/Berlin"), clock(0) {}

    // Writes a log of `type` that starts and ends at the local time given, with one record.
    void WriteLog(BYTE type, int year, int month, int day, int hour, int minute = 0) {
        const CTime start(year, month, day, hour, minute, 0);
        WriteTestLog(dir.path(), clock, {.start = start, .type = type, .end = start});
    }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
    CLogMonthData data;
};

std::vector<std::string> Labels(const std::vector<LocalDay>& days) {
    std::vector<std::string> labels;
    for (const auto& d : days) labels.push_back(d.label);
    return labels;
}

}  // namespace

TEST_F(LogMonth, ADayListsItsLogsByGroupAndNeverTypeZero) {
    for (BYTE type : {1, 1, 2, 4, 7, 8, 0, 12}) WriteLog(type, 2005, 4, 3, 9 + type % 5, type);
    WriteLog(1, 2005, 4, 4, 0, 1);  // the next day
    ASSERT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);
    EXPECT_EQ(data.Logs().GetSize(), 9) << "type 0 is loaded";
    const LocalDay day = data.Days().at(1);
    ASSERT_EQ(day.label, "03");
    const LogDayGroups groups = data.GroupDay(day);
    // The network group holds only its sub-groups; type 12 is listed with the errors.
    const size_t expected[kLogTypeGroupCount] = {2, 1, 0, 0, 1, 0, 0, 1, 2};
    for (int g = 0; g < kLogTypeGroupCount; ++g) EXPECT_EQ(groups.logs[g].size(), expected[g]) << "group " << g;
}

// The day of a daylight-saving change is 23 or 25 hours long: every log of it is listed under
// it, and none of the next day's.
TEST_F(LogMonth, DaysFollowTheCalendarAcrossDaylightSavingChanges) {
    WriteLog(1, 2005, 10, 30, 23, 30);  // the autumn day has 25 hours: 23:30 is 24.5 h after midnight
    WriteLog(1, 2005, 10, 30, 1);
    WriteLog(1, 2005, 10, 31, 0, 10);
    ASSERT_EQ(data.Load(dir.path(), {2005, 10}), LogMonthLoad::loaded);
    const auto days = data.Days();
    ASSERT_EQ(Labels(days), (std::vector<std::string>{"31", "30"}));
    EXPECT_EQ(days[1].end - days[1].midnight, 25 * 3600u);
    EXPECT_EQ(data.GroupDay(days[1]).logs[0].size(), 2u);
    EXPECT_EQ(data.GroupDay(days[0]).logs[0].size(), 1u);

    WriteLog(1, 2005, 3, 27, 23, 30);  // the spring day has 23 hours
    WriteLog(1, 2005, 3, 28, 0, 30);
    ASSERT_EQ(data.Load(dir.path(), {2005, 3}), LogMonthLoad::loaded);
    const auto spring = data.Days();
    ASSERT_EQ(Labels(spring), (std::vector<std::string>{"28", "27"}));
    EXPECT_EQ(data.GroupDay(spring[1]).logs[0].size(), 1u) << "the next day's first half hour is not the 27th's";
}

// A counted block that is not whole is damage, whatever cut it: no killed append leaves one. Only
// a block after the counted ones may be unfinished (an append on its way, or what a killed one left).
TEST_F(LogMonth, ADamagedBlockHidesTheWholeMonthAndACutFileKeepsItsCountedBlocks) {
    WriteLog(1, 2005, 4, 3, 9);
    WriteLog(1, 2005, 4, 5, 9);
    auto bytes = ReadBytes(dir.file("200504.log"));

    bytes.back() = 0;  // the second block's tail mark
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::damaged);
    EXPECT_TRUE(data.Days().empty());
    EXPECT_EQ(data.Logs().GetSize(), 0);

    bytes.resize(bytes.size() - 3);
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::damaged) << "the header counts the cut block";
    bytes[0] = 1;
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::cutShort);
    EXPECT_EQ(Labels(data.Days()), std::vector<std::string>{"03"});
    EXPECT_EQ(data.Records().GetSize(), 1) << "the cut block's records are dropped";

    bytes[4] = 'x';
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::notALog);
    WriteBytes(dir.file("200504.log"), {});
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::notALog) << "an empty file";
    EXPECT_EQ(data.Load(dir.path(), {2005, 5}), LogMonthLoad::notOpened);
}

// A whole block the header does not count yet is an append on its way: the month loads whole
// without it, and shows it once the header counts it. Bytes after it that are no block are damage.
TEST_F(LogMonth, AWholeBlockTheHeaderDoesNotCountYetIsLeftOut) {
    WriteLog(1, 2005, 4, 3, 9);
    WriteLog(1, 2005, 4, 5, 9);
    auto bytes = ReadBytes(dir.file("200504.log"));
    bytes[0] = 1;
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);
    EXPECT_EQ(Labels(data.Days()), std::vector<std::string>{"03"});
    EXPECT_EQ(data.Records().GetSize(), 1);

    bytes.push_back(0x55);
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::cutShort) << "the start of a third block";
    bytes.resize(bytes.size() - 1);
    bytes.back() = 0;  // the uncounted block's tail mark
    WriteBytes(dir.file("200504.log"), bytes);
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::damaged);
}

// A symlink or a FIFO planted as a month file is not read, and a FIFO does not stall the load.
TEST_F(LogMonth, AMonthFileThatIsNotAPlainFileIsNotOpened) {
    WriteLog(1, 2005, 4, 3, 9);
    ASSERT_EQ(symlink(dir.file("200504.log").c_str(), dir.file("200505.log").c_str()), 0);
    ASSERT_EQ(mkfifo(dir.file("200506.log").c_str(), 0600), 0);
    CLogMonthData data;
    EXPECT_EQ(data.Load(dir.path(), {2005, 4}), LogMonthLoad::loaded);
    EXPECT_EQ(data.Load(dir.path(), {2005, 5}), LogMonthLoad::notOpened);
    EXPECT_EQ(data.Load(dir.path(), {2005, 6}), LogMonthLoad::notOpened);
}

TEST_F(LogMonth, ComparatorsPutTheNewestFirst) {
    EXPECT_EQ(FileSortArray("200505.log", "200412.log"), -1);
    EXPECT_EQ(FileSortArray("200412.log", "200505.log"), 1);
    EXPECT_EQ(FileSortArray("200505.log", "200505.bak"), 0);
    const DWORD later = 0xF0000000, earlier = 5;  // compared as unsigned numbers
    EXPECT_EQ(DateSortArray(&later, &earlier), -1);
    EXPECT_EQ(DateSortArray(&earlier, &later), 1);
}
