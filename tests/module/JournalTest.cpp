// The journal over the three month-file families: its order, its cursor's promise, seeking by
// time, following appends, faults and matches. Units are told apart by a tag "#N" in their text.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include <unistd.h>

#include "event/EventJournal.h"
#include "event/EventRecord.h"
#include "log1/CLogManager.h"
#include "log1/EntryJournal.h"
#include "log1/EntryFileUnits.h"
#include "log2/LogFileRepair.h"
#include "log2/LogJournal.h"
#include "module/FolderWatch.h"
#include "module/Journal.h"
#include "module/MonthFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

struct Family {
    const char* name;
    const JournalFamily& (*family)();
    // Writes unit `tag` of kind 0 or 1 (a type --type tells apart) at `time`.
    void (*write)(const std::string& folder, DWORD time, int tag, int kind);
    int typeOfKind1;   // the type number kind 1 is written with
    int groupOfKind1;  // a group that holds kind 1 and not kind 0 (for log2, the parent of its group)
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

std::string Tag(int tag) { return "#" + std::to_string(tag); }

const Family kFamilies[] = {
    {"log2", LogJournalFamily,
     [](const std::string& folder, DWORD time, int tag, int kind) {
         ScopedClock clock(time);
         const auto type = static_cast<BYTE>(kind ? 5 : 1);
         WriteTestLog(folder, clock, TestLog{CTime(time), type, Tag(tag), {TestLogRecord{}}, CTime(time)});
     },
     5, 3},
    {"event", EventJournalFamily,
     [](const std::string& folder, DWORD time, int tag, int kind) {
         WriteTestEvent(folder, TestEvent{CTime(time), 1, 0, static_cast<BYTE>(1 + kind), 1, Tag(tag)});
     },
     2, 1},
    {"log1", EntryJournalFamily,
     [](const std::string& folder, DWORD time, int tag, int kind) {
         const std::string text = Tag(tag);
         WriteTestEntry(folder, TestEntry{CTime(time), static_cast<DWORD>(kind), "entry", 0, 0, text.c_str()});
     },
     1, 1},
};

// 2005-03-10 12:00:00 UTC, and a day.
constexpr DWORD kMarch = 1110456000;
constexpr DWORD kDay = 86400;
constexpr DWORD kApril = kMarch + 30 * kDay;

int TagOf(const Journal& journal) {
    JournalText text;
    journal.Render(text);
    std::smatch found;
    const std::string all = text.heading + text.body;
    return std::regex_search(all, found, std::regex("#([0-9]+)")) ? std::stoi(found[1]) : -1;
}

// The tags Next (or Previous) gives until the end.
std::vector<int> Rest(Journal& journal, bool forward = true) {
    std::vector<int> tags;
    while (forward ? journal.Next() : journal.Previous()) tags.push_back(TagOf(journal));
    return tags;
}

// Replaces the file at `path` by a copy of itself, as a restore from a backup does.
void ReplaceByCopy(const std::string& path) {
    std::filesystem::copy_file(path, path + ".copy");
    std::filesystem::rename(path + ".copy", path);
}

class JournalTest : public ::testing::TestWithParam<Family> {
protected:
    JournalTest() : journal(GetParam().family()) {}

    void Write(DWORD time, int tag, int kind = 0) { GetParam().write(dir.path(), time, tag, kind); }
    std::string MonthPath(DWORD time) const {
        return std::string(MonthFileName(dir.path().c_str(), time, GetParam().family().extension));
    }
    void Open(Journal& j) { ASSERT_TRUE(j.Open(dir.path())) << j.Error(); }
    void Open() { Open(journal); }
    std::vector<int> Rest(bool forward = true) { return ::Rest(journal, forward); }

    ScopedTz tz{"UTC"};
    TempDir dir;
    Journal journal;
};

TEST_P(JournalTest, GivesMonthsOldestFirstAndEachMonthByTimeWithOneSecondInFileOrder) {
    Write(kApril, 5);
    Write(kMarch + 100, 1);
    Write(kMarch + 5, 2);
    Write(kMarch + 5, 3);
    Write(kMarch + 200, 4);
    Open();
    EXPECT_EQ(Rest(), (std::vector<int>{2, 3, 1, 4, 5}));
    EXPECT_TRUE(journal.TakeFaults().empty());
}

// A reader that takes only the text, or only the fields, gets them as one that takes both does.
TEST_P(JournalTest, RendersWhatTheReaderTakesAsItWouldRenderBoth) {
    Write(kMarch, 7, 1);
    Open();
    ASSERT_TRUE(journal.Next());
    JournalText both, text, fields;
    text.wantFields = false;
    fields.wantText = false;
    for (JournalText* out : {&both, &text, &fields}) journal.Render(*out);
    EXPECT_NE(both.heading.find("#7"), std::string::npos);
    EXPECT_FALSE(both.body.empty());
    EXPECT_EQ(text.heading, both.heading);
    EXPECT_EQ(text.body, both.body);
    EXPECT_TRUE(text.fields.empty());
    EXPECT_TRUE(fields.heading.empty() && fields.body.empty());
    ASSERT_EQ(fields.fields.size(), both.fields.size());
    for (std::size_t i = 0; i < both.fields.size(); ++i) {
        EXPECT_STREQ(fields.fields[i].name, both.fields[i].name);
        EXPECT_EQ(fields.fields[i].text, both.fields[i].text);
        EXPECT_EQ(fields.fields[i].number, both.fields[i].number);
        EXPECT_EQ(fields.fields[i].list, both.fields[i].list);
    }
}

TEST_P(JournalTest, PreviousFromTheTailIsNextFromTheHeadReversed) {
    for (int tag : {3, 1, 2}) Write(kMarch + static_cast<DWORD>(tag % 2), tag);
    Write(kApril, 4);
    Write(kApril, 5);
    Open();
    const std::vector<int> forward = Rest();
    journal.SeekTail();
    std::vector<int> backward = Rest(false);
    std::ranges::reverse(backward);
    EXPECT_EQ(backward, forward);
    EXPECT_EQ(forward, (std::vector<int>{2, 3, 1, 4, 5}));
}

enum class After { nothing, append, copy, appendEarlier };

struct CursorCase {
    const char* what;
    int given;  // how many units were given before the cursor was taken
    After after;
    bool withoutEnd = false;  // the cursor as written before it carried its month's end ("e=")
};

class JournalCursorTest : public JournalTest {
protected:
    void Check(const CursorCase& c) {
        for (int tag = 1; tag <= 3; ++tag) Write(kMarch + static_cast<DWORD>(tag), tag);
        for (int tag = 4; tag <= 6; ++tag) Write(kApril + static_cast<DWORD>(tag), tag);
        Open();
        for (int n = 0; n < c.given; ++n) ASSERT_TRUE(journal.Next());
        std::string cursor = journal.Cursor();
        EXPECT_EQ(cursor.find_first_of(" \t\n"), std::string::npos) << cursor;
        if (c.withoutEnd) cursor = std::regex_replace(cursor, std::regex(";e=[0-9]+"), "");
        std::vector<int> expected;
        for (int tag = c.given + 1; tag <= 6; ++tag) expected.push_back(tag);
        if (c.after == After::append) {
            Write(kApril + 100, 7);
            expected.push_back(7);
        }
        if (c.after == After::copy) {
            ReplaceByCopy(MonthPath(kMarch));
            ReplaceByCopy(MonthPath(kApril));
        }
        if (c.after == After::appendEarlier) {
            // Into the cursor's month, with a time before all of it: after its month's units, in file order.
            const bool march = c.given <= 3;
            Write(march ? kMarch : kApril, 7);
            const auto monthEnd = std::ranges::find(expected, march ? 4 : 7);
            expected.insert(monthEnd, 7);
        }
        Journal resumed(GetParam().family());
        Open(resumed);
        ASSERT_TRUE(resumed.SeekCursor(cursor)) << cursor;
        EXPECT_EQ(::Rest(resumed), expected) << cursor;
    }
};

const CursorCase kCursorCases[] = {
    {"a month's first unit", 1, After::nothing},
    {"a month's middle unit", 2, After::nothing},
    {"a month's last unit: the next month follows", 3, After::nothing},
    {"the last unit", 6, After::nothing},
    {"a month's first unit, then an append", 4, After::append},
    {"the last unit, then an append", 6, After::append},
    {"a middle unit, the files replaced by copies", 2, After::copy},
    {"a month's last unit, the files replaced by copies", 3, After::copy},
    {"the last unit, the files replaced by copies", 6, After::copy},
    {"a month's first unit, then an append earlier in its month", 1, After::appendEarlier},
    {"a month's last unit, then an append earlier in its month", 3, After::appendEarlier},
    {"the last unit, then an append earlier in its month", 6, After::appendEarlier},
    {"a month's first unit, then an append, from a cursor without its month's end", 4, After::append, true},
    {"a middle unit, from a cursor without its month's end", 2, After::nothing, true},
};

TEST_P(JournalCursorTest, ResumesAfterTheCursorsUnit) {
    for (const CursorCase& c : kCursorCases) {
        SCOPED_TRACE(c.what);
        Check(c);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
    }
}

TEST_P(JournalTest, RefusesATextThatIsNoCursorOfItsFamily) {
    Write(kMarch, 1);
    Open();
    for (const char* text : {"", "v1", "v2;f=200503.log;o=0;t=1;h=0;n=0", "v1;f=../etc.log;o=0;t=1;h=0;n=0",
                             "v1;f=200503.xyz;o=0;t=1;h=0;n=0", "v1;f=200503.log;o=x;t=1;h=0;n=0",
                             "v1;f=200503.log;o=0;t=1;h=0;n=0;more", "v1;f=200503.log;o=0;t=1;h=0;n=0;e=",
                             "v1;f=200503.log;o=0;t=1;h=0;n=0;e=5;d=200502.log", "v1;f=200503.log;o=0;t=1;h=0;n=0;e=5;d=../x@1"})
        EXPECT_FALSE(journal.SeekCursor(text)) << text;
}

struct ClockChangeCase {
    const char* what;
    DWORD seek;
    int next, previous;  // the tags Next and Previous give after SeekTime (-1: none)
};

// Berlin's clocks went forward on 2005-03-27 at 01:00 UTC (02:00 became 03:00) and back on
// 2005-10-30 at 01:00 UTC (03:00 became 02:00, so 02:00 to 03:00 came twice).
constexpr DWORD kSpringChange = 1111885200, kAutumnChange = 1130634000;

TEST_P(JournalTest, SeekTimeInsideAClockChangeFindsTheUnitsBySecond) {
    ScopedTz berlin("Europe/Berlin");
    Write(kSpringChange - 1800, 1);   // 01:30 CET
    Write(kSpringChange + 1800, 2);   // 03:30 CEST
    Write(kAutumnChange - 2700, 3);   // 02:15 CEST, the first time
    Write(kAutumnChange + 900, 4);    // 02:15 CET, the second time
    Write(kAutumnChange + 5400, 5);   // 03:30 CET
    const ClockChangeCase cases[] = {
        {"the spring's skipped hour", kSpringChange, 2, 1},
        {"the first 02:30 of autumn", kAutumnChange - 1800, 4, 3},
        {"the second 02:30 of autumn", kAutumnChange + 1800, 5, 4},
        {"the second 02:15 of autumn, exactly", kAutumnChange + 900, 4, 3},
        {"before all", kSpringChange - 7200, 1, -1},
        {"after all", kAutumnChange + 7200, -1, 5},
    };
    Open();
    for (const ClockChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        journal.SeekTime(c.seek);
        EXPECT_EQ(journal.Next() ? TagOf(journal) : -1, c.next);
        journal.SeekTime(c.seek);
        EXPECT_EQ(journal.Previous() ? TagOf(journal) : -1, c.previous);
    }
}

TEST_P(JournalTest, MatchesAndRangeSkipWhatTheyLeaveOut) {
    Write(kMarch + 1, 1, 0);
    Write(kMarch + 2, 2, 1);
    Write(kMarch + 3, 12, 1);
    Write(kApril, 4, 0);
    Open();
    struct Case {
        const char* what;
        int type, group;   // -1: any
        const char* text;  // "": any
        DWORD first, last;
        std::vector<int> tags;
    };
    const int type = GetParam().typeOfKind1, group = GetParam().groupOfKind1;
    const Case cases[] = {
        {"by type", type, -1, "", 0, 0xFFFFFFFF, {2, 12}},
        {"by group", -1, group, "", 0, 0xFFFFFFFF, {2, 12}},
        {"by text", -1, -1, "#1", 0, 0xFFFFFFFF, {1, 12}},
        {"by type and text", type, -1, "#1", 0, 0xFFFFFFFF, {12}},
        {"by range", -1, -1, "", kMarch + 2, kApril - 1, {2, 12}},
        {"by range and text", -1, -1, "#", kMarch + 3, kApril, {12, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JournalMatch match;
        match.type = c.type;
        match.group = c.group;
        match.text = c.text;
        journal.SetMatch(match);
        journal.SetRange(c.first, c.last);
        journal.SeekHead();
        EXPECT_EQ(Rest(), c.tags);
        journal.SeekTail();
        std::vector<int> backward = Rest(false);
        std::ranges::reverse(backward);
        EXPECT_EQ(backward, c.tags);
    }
}

// The bytes of unit `tag` as the family writes it alone at `time`.
std::vector<std::uint8_t> UnitBytes(const Family& family, DWORD time, int tag) {
    TempDir scratch;
    family.write(scratch.path(), time, tag, 0);
    Journal journal(family.family());
    EXPECT_TRUE(journal.Open(scratch.path()));
    EXPECT_TRUE(journal.Next());
    return {journal.Unit().begin(), journal.Unit().end()};
}

void Append(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(bytes.data()),
                                                                 static_cast<std::streamsize>(bytes.size()));
}

TEST_P(JournalTest, ATornTailIsNotGivenUntilAnAppendCompletesIt) {
    Write(kMarch, 1);
    const std::vector<std::uint8_t> second = UnitBytes(GetParam(), kMarch + 1, 2);
    const std::size_t half = second.size() / 2;
    Append(MonthPath(kMarch), std::span(second).first(half));
    Open();
    EXPECT_EQ(Rest(), std::vector<int>{1});
    const std::vector<Journal::Fault> faults = journal.TakeFaults();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_TRUE(faults[0].torn);
    EXPECT_EQ(faults[0].tornBytes, half);
    EXPECT_EQ(faults[0].damage.path, MonthPath(kMarch));

    Append(MonthPath(kMarch), std::span(second).subspan(half));
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{2});
    EXPECT_TRUE(journal.TakeFaults().empty());
}

TEST_P(JournalTest, FollowsAppendsNewMonthsAndReplacedFilesWithoutRepeating) {
    Write(kMarch, 1);
    Open();
    journal.SeekTail();
    EXPECT_FALSE(journal.Next());
    EXPECT_FALSE(journal.Wait(0));

    Write(kMarch + 1, 2);
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{2});

    ReplaceByCopy(MonthPath(kMarch));
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{}) << "the copy holds nothing new";

    Write(kApril, 3);
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{3});
}

TEST_P(JournalTest, FollowsAppendsToAnEarlierMonthAndACursorAmongThemResumesExactly) {
    Write(kMarch + 10, 1);
    Write(kApril + 10, 2);
    Open();
    EXPECT_EQ(Rest(), (std::vector<int>{1, 2}));

    Write(kMarch, 3);
    Write(kMarch, 4);
    ASSERT_TRUE(journal.Wait(5000));
    ASSERT_TRUE(journal.Next());
    EXPECT_EQ(TagOf(journal), 3);
    const std::string amongThem = journal.Cursor();
    EXPECT_EQ(Rest(), std::vector<int>{4}) << "then back where the order was: nothing more in April";

    Write(kApril, 5);
    ASSERT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{5});

    Journal resumed(GetParam().family());
    Open(resumed);
    ASSERT_TRUE(resumed.SeekCursor(amongThem)) << amongThem;
    EXPECT_EQ(::Rest(resumed), (std::vector<int>{4, 5})) << amongThem;
}

TEST_P(JournalTest, FollowsAFileCutShortInPlaceWithoutRepeating) {
    if (GetParam().family().units->headerSize != 0) GTEST_SKIP() << "a cut under the header's count is damage";
    for (int tag = 1; tag <= 3; ++tag) Write(kMarch + static_cast<DWORD>(tag), tag);
    Open();
    journal.SeekTail();
    ASSERT_TRUE(journal.Previous());
    const std::uint64_t third = journal.Offset();
    journal.SeekTail();
    std::filesystem::resize_file(MonthPath(kMarch), third);
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{}) << "what the file still holds was given";
    Write(kMarch + 4, 4);
    EXPECT_TRUE(journal.Wait(5000));
    EXPECT_EQ(Rest(), std::vector<int>{4});
}

// Log blocks 1 to `count` at kMarch + tag; the offsets of their tail marks.
std::vector<std::uint64_t> WriteLogs(const std::string& folder, int count) {
    for (int tag = 1; tag <= count; ++tag) kFamilies[0].write(folder, kMarch + static_cast<DWORD>(tag), tag, 0);
    Journal journal(LogJournalFamily());
    EXPECT_TRUE(journal.Open(folder));
    std::vector<std::uint64_t> tails;
    while (journal.Next()) tails.push_back(journal.Offset() + journal.Unit().size() - 1);
    return tails;
}

void BreakByte(const std::string& path, std::uint64_t offset) {
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    bytes.at(offset) ^= 0xFF;
    WriteBytes(path, bytes);
}

TEST(LogJournal, DamageInAMonthIsReportedOnceAndTheBlocksBeforeItAreGiven) {
    ScopedTz tz("UTC");
    TempDir dir;
    const std::vector<std::uint64_t> tails = WriteLogs(dir.path(), 3);
    const std::string path = dir.file("200503.log");
    BreakByte(path, tails.at(1));
    Journal journal(LogJournalFamily());
    ASSERT_TRUE(journal.Open(dir.path()));
    EXPECT_EQ(Rest(journal), std::vector<int>{1});
    const std::vector<Journal::Fault> faults = journal.TakeFaults();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_FALSE(faults[0].torn);
    EXPECT_EQ(faults[0].damage.path, path);
    EXPECT_EQ(faults[0].damage.offset, tails[1]);
    EXPECT_NE(faults[0].damage.reason.find("tail mark"), std::string::npos) << faults[0].damage.reason;
    journal.SeekTail();
    EXPECT_EQ(Rest(journal, false), std::vector<int>{1});
    EXPECT_TRUE(journal.TakeFaults().empty()) << "reported once";
}

TEST(LogJournal, ACursorResumesWithWhatIsNewAfterARepairCutTheMonthShort) {
    ScopedTz tz("UTC");
    for (const int given : {1, 3, 4}) {
        SCOPED_TRACE(given);
        TempDir dir;
        const std::vector<std::uint64_t> tails = WriteLogs(dir.path(), 4);
        Journal journal(LogJournalFamily());
        ASSERT_TRUE(journal.Open(dir.path()));
        for (int n = 0; n < given; ++n) ASSERT_TRUE(journal.Next());
        const std::string cursor = journal.Cursor();
        BreakByte(dir.file("200503.log"), tails.at(1));
        EXPECT_TRUE(RepairLogFile(dir.file("200503.log")).repaired);
        kFamilies[0].write(dir.path(), kMarch + 10, 5, 0);
        Journal resumed(LogJournalFamily());
        ASSERT_TRUE(resumed.Open(dir.path()));
        ASSERT_TRUE(resumed.SeekCursor(cursor));
        EXPECT_EQ(Rest(resumed), std::vector<int>{5}) << cursor;
    }
}

// A first-generation entry saved without its update time gets it written in place later: a cursor
// taken on it before still resumes right after it, not after its whole second.
TEST(EntryJournal, ACursorOnAPendingEntryResumesAfterItOnceItIsUpdated) {
    ScopedTz tz("UTC");
    TempDir dir;
    CLogManager writer;
    writer.SetSavePath((dir.path() + "/").c_str());
    writer.SaveLog("pending", 0, kMarch, 0, 0, "#1");
    writer.SaveLog("other", 0, kMarch, kMarch, 0, "#2");
    writer.SaveLog("other", 0, kMarch + 1, kMarch + 1, 0, "#3");
    Journal journal(EntryJournalFamily());
    ASSERT_TRUE(journal.Open(dir.path()));
    ASSERT_TRUE(journal.Next());
    const std::string cursor = journal.Cursor();
    ASSERT_EQ(writer.UpdateLog("pending", 0, kMarch + 5), 1);

    Journal resumed(EntryJournalFamily());
    ASSERT_TRUE(resumed.Open(dir.path()));
    ASSERT_TRUE(resumed.SeekCursor(cursor));
    EXPECT_EQ(Rest(resumed), (std::vector<int>{2, 3})) << cursor;
}

// Cursors written before the update time was left out of the hash still name their entry.
TEST(EntryJournal, AnEarlierCursorWhoseHashCoversTheUpdateTimeNamesItsEntry) {
    ScopedTz tz("UTC");
    TempDir dir;
    for (int tag = 1; tag <= 3; ++tag) {
        const std::string text = Tag(tag);
        WriteTestEntry(dir.path(), TestEntry{CTime(kMarch + (tag == 3 ? 1 : 0)), 0, "entry", kMarch + 9, 0, text.c_str()});
    }
    Journal journal(EntryJournalFamily());
    ASSERT_TRUE(journal.Open(dir.path()));
    ASSERT_TRUE(journal.Next());
    auto earlier = JournalCursor::Parse(journal.Cursor());
    ASSERT_TRUE(earlier);
    earlier->hash = UnitHash(journal.Unit());
    earlier->sortedEnd.reset();

    Journal resumed(EntryJournalFamily());
    ASSERT_TRUE(resumed.Open(dir.path()));
    ASSERT_TRUE(resumed.SeekCursor(earlier->Text()));
    EXPECT_EQ(Rest(resumed), (std::vector<int>{2, 3})) << earlier->Text();
}

TEST(JournalFaults, AMonthFileThatIsNoPlainFileIsAFaultOnceAndNeverWaitedOn) {
    ScopedTz tz("UTC");
    TempDir dir, elsewhere;
    kFamilies[1].write(elsewhere.path(), kMarch, 1, 0);
    ASSERT_EQ(::symlink(elsewhere.file("200503.evt").c_str(), dir.file("200503.evt").c_str()), 0);
    kFamilies[1].write(dir.path(), kApril, 2, 0);
    Journal journal(EventJournalFamily());
    ASSERT_TRUE(journal.Open(dir.path()));
    EXPECT_EQ(Rest(journal), std::vector<int>{2});
    journal.SeekHead();
    EXPECT_FALSE(journal.Wait(0)) << "nothing changed";
    const std::vector<Journal::Fault> faults = journal.TakeFaults();
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].damage.path, dir.file("200503.evt"));
    EXPECT_NE(faults[0].damage.reason.find("not a plain file"), std::string::npos) << faults[0].damage.reason;
    EXPECT_TRUE(faults[0].unreadable) << "nothing is known of its contents, so it is no damage";
}

TEST(JournalFaults, ALogFolderHoldingAFirstGenerationFileTellsItsKind) {
    ScopedTz tz("UTC");
    TempDir dir;
    kFamilies[2].write(dir.path(), kMarch, 1, 0);
    for (const bool rival : {false, true}) {
        JournalFamily family = LogJournalFamily();
        if (rival) family.rival = &EntryFileUnits();
        Journal journal(family);
        ASSERT_TRUE(journal.Open(dir.path()));
        EXPECT_FALSE(journal.Next());
        const std::vector<Journal::Fault> faults = journal.TakeFaults();
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_EQ(faults[0].rival, rival);
        EXPECT_FALSE(faults[0].torn);
        EXPECT_FALSE(faults[0].unreadable);
    }
}

TEST(JournalFaults, AFolderThatCannotBeReadIsRefused) {
    TempDir dir;
    Journal journal(EventJournalFamily());
    EXPECT_FALSE(journal.Open(dir.file("missing")));
    EXPECT_EQ(journal.Error(), std::strerror(ENOENT));
}

TEST(EventJournal, MatchesChannelsAndLeavesRecordsWithoutTheMarkOut) {
    ScopedTz tz("UTC");
    TempDir dir;
    WriteTestEvent(dir.path(), TestEvent{CTime(kMarch), 1, 0, 1, 1, "#1"});
    WriteTestEvent(dir.path(), TestEvent{CTime(kMarch + 1), 3, 0, 1, 1, "#2"});
    std::vector<std::uint8_t> unmarked = UnitBytes(kFamilies[1], kMarch + 2, 3);
    unmarked.back() = 0;
    Append(dir.file("200503.evt"), unmarked);
    Journal journal(EventJournalFamily());
    ASSERT_TRUE(journal.Open(dir.path()));
    EXPECT_EQ(Rest(journal), (std::vector<int>{1, 2}));
    JournalMatch channel3;
    channel3.channel = 3;
    journal.SetMatch(channel3);
    journal.SeekHead();
    EXPECT_EQ(Rest(journal), std::vector<int>{2});
    const std::vector<Journal::Fault> faults = journal.TakeFaults();
    ASSERT_EQ(faults.size(), 1u) << "said once, as no damage: a record without the mark is part of the file";
    EXPECT_TRUE(faults[0].hidden);
    EXPECT_EQ(faults[0].damage.offset, 2 * eventfile::kRecordSize);
    EXPECT_EQ(faults[0].hiddenUnits, 1u);
    EXPECT_EQ(faults[0].units, 3u);
}

TEST(FolderWatch, WithoutInotifyLooksAgainAfterASecondAtMost) {
    TempDir dir;
    FolderWatch watch;
    watch.Watch(dir.file("missing"));  // inotify refuses it: the clock stands in
    EXPECT_TRUE(watch.Wait(60000));
    watch.Watch(dir.path());
    EXPECT_FALSE(watch.Wait(0));
    WriteBytes(dir.file("200503.evt"), {1});
    EXPECT_TRUE(watch.Wait(60000));
}

INSTANTIATE_TEST_SUITE_P(Families, JournalTest, ::testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Families, JournalCursorTest, ::testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
