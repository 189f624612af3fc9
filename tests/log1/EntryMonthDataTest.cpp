// The first-generation browser's data core: the folder's months, loading a month (torn tails and
// foreign types included), days as calendar days and the memory operations.
#include <gtest/gtest.h>

#include <functional>

#include "log1/EntryMonthData.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

using Names = std::vector<std::string>;

class EntryMonth : public testing::Test {
protected:
    EntryMonth() : tz("Europe/Berlin") { data.SetFolder(dir.path()); }

    void Write(int month, int day, int hour, const char* name, DWORD type = 0, int minute = 0) {
        WriteTestEntry(dir.path(), {.time = CTime(2005, month, day, hour, minute, 0), .type = type, .name = name});
    }
    std::string MonthFile(const char* month = "200503") const { return dir.file(std::string(month) + ".log"); }
    static Names NamesOf(const CArray<CLogRecordItem>& entries) {
        Names names;
        for (const CLogRecordItem& e : entries) names.push_back(e.name);
        return names;
    }
    static DWORD Midnight(int month, int day) { return LocalMidnight(2005, month, day); }

    TempDir dir;
    ScopedTz tz;
    CEntryMonthData data;
};

}  // namespace

TEST_F(EntryMonth, MonthsAreListedNewestFirst) {
    for (const char* name : {"200412.log", "200503.log", "200501.log", "notes.log"}) WriteBytes(dir.file(name), {});
    Names labels;
    for (const auto& m : data.Months()) labels.push_back(m.label);
    EXPECT_EQ(labels, (Names{"2005-03", "2005-01", "2004-12"}));
}

TEST_F(EntryMonth, LoadsNewestFirstAndListsEachCalendarDayOnce) {
    Write(3, 3, 9, "nine");
    Write(3, 1, 23, "late", 0, 59);
    Write(3, 3, 10, "ten");
    Write(3, 1, 1, "foreign", 5);
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    EXPECT_EQ(NamesOf(data.Entries()), (Names{"ten", "nine", "late"}));
    Names days;
    for (const LocalDay& d : data.Days()) days.push_back(d.label);
    EXPECT_EQ(days, (Names{"03", "01"}));
    EXPECT_EQ(data.Load({2005, 4}), EntryMonthLoad::notOpened);
    EXPECT_EQ(data.Entries().GetSize(), 0);
}

TEST_F(EntryMonth, AFileOfOnlyAForeignTypeLoadsAsAnEmptyMonth) {
    Write(3, 1, 1, "foreign", 5);
    EXPECT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    EXPECT_TRUE(data.Days().empty());
}

TEST_F(EntryMonth, ATornTailIsReportedWhileTheWholeEntriesLoad) {
    Write(3, 1, 1, "one");
    Write(3, 2, 1, "two");
    auto bytes = ReadBytes(MonthFile());
    bytes.resize(bytes.size() + 1, 0x7F);  // 337 bytes
    WriteBytes(MonthFile(), bytes);
    EXPECT_EQ(data.Load({2005, 3}), EntryMonthLoad::badLength);
    EXPECT_EQ(NamesOf(data.Entries()), (Names{"two", "one"}));
}

// The file has no mark of its own: a first entry that cannot be one (here, bytes after its name's
// end) makes it a file of another kind named alike, and nothing of it is listed.
TEST_F(EntryMonth, AFileWhoseFirstEntryIsNoEntryListsNothing) {
    Write(3, 1, 1, "one");
    Write(3, 2, 1, "two");
    auto bytes = ReadBytes(MonthFile());
    bytes[entryfile::kNameOffset + 5] = 'x';
    WriteBytes(MonthFile(), bytes);
    EXPECT_EQ(data.Load({2005, 3}), EntryMonthLoad::badLength);
    EXPECT_TRUE(data.Entries().IsEmpty());
}

TEST_F(EntryMonth, SearchesAndRemovalsOfAnEmptyMonthFindNothing) {
    EXPECT_EQ(data.MemorySearchTime(0, 0xFFFFFFFF), 0);
    EXPECT_EQ(data.MemorySearchType(0), 0);
    EXPECT_TRUE(data.MemoryDeleteTime(0, 0xFFFFFFFF).empty());
}

TEST_F(EntryMonth, RemovalsTakeExactlyTheirEntriesAndKeepTheOrderOfTheRest) {
    // 27 March 2005 has 23 hours in Berlin: a day of midnight + 86400 would reach into the 28th.
    Write(3, 26, 23, "26th");
    Write(3, 27, 1, "27th-sys");
    Write(3, 27, 23, "27th-net", 3, 30);
    Write(3, 28, 0, "28th-net", 3, 30);
    const DWORD at28 = CTime(2005, 3, 28, 0, 30, 0).GetTime();
    const LocalDay day27 = DayStartingAt(Midnight(3, 27));
    const struct {
        const char* what;
        std::function<std::vector<CLogRecordItem>(CEntryMonthData&)> remove;
        Names left;
    } cases[] = {
        {"a calendar day", [&](CEntryMonthData& d) { return d.MemoryDeleteTime(day27.midnight, day27.end); },
         {"28th-net", "26th"}},
        {"empty bounds", [&](CEntryMonthData& d) { return d.MemoryDeleteTime(day27.midnight, day27.midnight); },
         {"28th-net", "27th-net", "27th-sys", "26th"}},
        {"one second", [&](CEntryMonthData& d) { return d.MemoryDeleteTime(at28); }, {"27th-net", "27th-sys", "26th"}},
        {"a type", [](CEntryMonthData& d) { return d.MemoryDeleteType(3); }, {"27th-sys", "26th"}},
        {"a type of a day", [&](CEntryMonthData& d) { return d.MemoryDeleteType(3, day27.midnight, day27.end); },
         {"28th-net", "27th-sys", "26th"}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
        const size_t removed = c.remove(data).size();
        EXPECT_EQ(NamesOf(data.Entries()), c.left) << c.what;
        EXPECT_EQ(removed + c.left.size(), 4u) << c.what;
    }
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    EXPECT_EQ(data.MemorySearchType(3), 2);
    EXPECT_EQ(data.MemorySearchTime(day27.midnight, day27.end), 1);
    EXPECT_EQ(data.MemorySearchTime(day27.end, day27.end), 0);
}

TEST_F(EntryMonth, NoFolderMeansNothingIsWritten) {
    CEntryMonthData unset;
    EXPECT_FALSE(unset.MemorySave(CTime(2005, 3, 1, 1, 0, 0).GetTime()));
    EXPECT_TRUE(unset.Months().empty());
}
