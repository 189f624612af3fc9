// Taking deleted entries out of a month file that writers keep using: only what was deleted goes,
// found by its identity, and whatever else the file holds by then stays as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "log1/CLogManager.h"
#include "log1/EntryMonthData.h"
#include "platform/core/FileSystem.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestData.h"

namespace {

using entryfile::kRecordSize;

// The writer's entries have names of 3 characters or more: shorter ones are never completed.
std::string Written(int i) { return "writer-" + std::to_string(i); }
using Names = std::vector<std::string>;

class EntryRemoval : public testing::Test {
protected:
    EntryRemoval() : tz("Europe/Berlin") { data.SetFolder(dir.path()); }

    static DWORD At(int day, int hour, int second = 0) { return CTime(2005, 3, day, hour, 0, second).GetTime(); }
    void Write(int day, int hour, const char* name, DWORD type = 0, const char* text = "text") {
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, day, hour, 0, 0), .type = type, .name = name, .text = text});
    }
    std::string MonthFile() const { return dir.file("200503.log"); }
    std::vector<_LOG_RECORD_V1_> Stored() const { return ReadTestEntries(MonthFile()); }
    Names StoredNames() const { return StoredEntryNames(MonthFile()); }
    // The serial of the loaded entry named `name` (the first, in array order).
    DWORD SerialOf(const CEntryMonthData& month, const std::string& name) const {
        for (const CLogRecordItem& e : month.Entries())
            if (name == e.name) return e.serial;
        ADD_FAILURE() << name << " is not loaded";
        return 0;
    }

    TempDir dir;
    ScopedTz tz;
    CEntryMonthData data;
};

}  // namespace

TEST_F(EntryRemoval, EntriesSavedAndCompletedSinceTheLoadStay) {
    CLogManager writer;
    writer.SetSavePath((dir.path() + "/").c_str());
    writer.SaveLog("old", 0, At(1, 1), 0, 0, "t");
    writer.SaveLog("gone", 0, At(2, 1), At(2, 2), 0, "t");
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    // The writer goes on after the browser loaded the month: a new entry, and "old" completed.
    writer.SaveLog("late", 1, At(3, 1), At(3, 2), 0, "t");
    ASSERT_EQ(writer.UpdateLog("old", 0, At(1, 2)), 1);

    ASSERT_TRUE(data.DeleteEntry(SerialOf(data, "gone")));
    const auto stored = Stored();
    ASSERT_EQ(StoredNames(), (Names{"old", "late"}));
    EXPECT_EQ(stored[0].updateTime, At(1, 2));
    EXPECT_EQ(ReadBytes(MonthFile()).size(), 2 * kRecordSize);
}

TEST_F(EntryRemoval, OnlyTheDeletedGoAndEverythingElseKeepsItsBytesAndOrder) {
    Write(2, 1, "b");
    Write(1, 1, "a");  // out of time order: the file's order is kept all the same
    Write(1, 2, "foreign", 5);
    Write(3, 1, "c");
    auto bytes = ReadBytes(MonthFile());
    bytes.push_back(0x7F);  // a torn tail, left for the writers' recovery
    WriteBytes(MonthFile(), bytes);
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::badLength);
    ASSERT_TRUE(data.MemorySave(At(1, 1)));  // nothing removed: nothing rewritten
    EXPECT_EQ(ReadBytes(MonthFile()), bytes);

    ASSERT_TRUE(data.DeleteEntry(SerialOf(data, "b")));
    std::vector<std::uint8_t> expected(bytes.begin() + kRecordSize, bytes.end());
    EXPECT_EQ(ReadBytes(MonthFile()), expected);
    // Every entry the browser loads gone: what it does not load stays, and so does the file.
    data.MemoryDeleteTime(0, 0xFFFFFFFF);
    ASSERT_TRUE(data.MemorySave(At(1, 1)));
    expected.erase(expected.begin(), expected.begin() + kRecordSize);                            // a
    expected.erase(expected.begin() + kRecordSize, expected.begin() + 2 * kRecordSize);          // c
    EXPECT_EQ(ReadBytes(MonthFile()), expected);
}

TEST_F(EntryRemoval, AMonthLeftWithNothingIsDeleted) {
    Write(1, 1, "a");
    Write(2, 1, "b");
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    data.MemoryDeleteTime(0, 0xFFFFFFFF);
    ASSERT_TRUE(data.MemorySave(At(1, 1)));
    EXPECT_FALSE(FileExists(MonthFile().c_str()));
    // Gone already: a second browser's save of the same deletions has nothing left to do.
    EXPECT_TRUE(data.MemorySave(At(1, 1)));
}

TEST_F(EntryRemoval, EntriesAreFoundByIdentityAfterAnotherBrowserMovedThem) {
    for (const char* name : {"a", "b", "c", "d"}) Write(1, 1, name);
    Write(1, 1, "d");  // alike in every field: deleting one of them leaves the other
    CEntryMonthData other;
    other.SetFolder(dir.path());
    ASSERT_EQ(data.Load({2005, 3}), EntryMonthLoad::loaded);
    ASSERT_EQ(other.Load({2005, 3}), EntryMonthLoad::loaded);
    ASSERT_TRUE(other.DeleteEntry(SerialOf(other, "a")));  // every later entry moves up a place
    ASSERT_TRUE(data.DeleteEntry(SerialOf(data, "c")));
    EXPECT_EQ(StoredNames(), (Names{"b", "d", "d"}));
    ASSERT_TRUE(data.DeleteEntry(SerialOf(data, "d")));
    EXPECT_EQ(StoredNames(), (Names{"b", "d"}));
    // The places the browser remembers follow its own rewrites.
    ASSERT_TRUE(data.DeleteEntry(SerialOf(data, "b")));
    EXPECT_EQ(StoredNames(), (Names{"d"}));
}

TEST_F(EntryRemoval, AFileThatCannotBeReadOrWrittenWholeStaysAsItWasAndTheDeletionWaits) {
    Write(1, 1, "a");
    Write(2, 1, "b");
    const auto before = ReadBytes(MonthFile());
    FaultyFiles faults;
    CEntryMonthData faulty(faults.Factory());
    faulty.SetFolder(dir.path());
    ASSERT_EQ(faulty.Load({2005, 3}), EntryMonthLoad::loaded);
    faulty.MemoryDeleteTime(At(1, 1));
    faults.ShortRead(1);  // the file reads as if it ended there
    EXPECT_FALSE(faulty.MemorySave(At(1, 1)));
    EXPECT_EQ(ReadBytes(MonthFile()), before);
    faults.FailWrite(1, 100);
    EXPECT_FALSE(faulty.MemorySave(At(1, 1)));
    EXPECT_EQ(ReadBytes(MonthFile()), before);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u);
    ASSERT_TRUE(faulty.MemorySave(At(1, 1)));
    EXPECT_EQ(StoredNames(), (Names{"b"}));
}

// A writer process saves and completes entries while another process deletes entries one by one,
// each delete loading the month anew as a browser does: nothing of the writer's is lost or undone.
TEST_F(EntryRemoval, DeletesBesideARunningWriterLoseNothingOfIt) {
    constexpr int kVictims = 120, kWritten = 1500;
    for (int i = 0; i < kVictims; ++i)
        WriteTestEntry(dir.path(), {.time = CTime(2005, 3, 10, 0, 0, i), .type = 2, .name = "victim"});
    Write(10, 5, "kept-foreign", 7);
    const std::string savePath = dir.path() + "/";
    const bool done = RunInChildren(2, [&](int index) {
        if (index == 0) {
            CLogManager writer;
            writer.SetSavePath(savePath.c_str());
            bool updated = true;
            for (int i = 0; i < kWritten; ++i) {
                writer.SaveLog(Written(i).c_str(), 0, At(20, 0) + i, 0, 0, "t");
                if (i > 0) updated = writer.UpdateLog(Written(i - 1).c_str(), 0, At(21, 0) + i) && updated;
            }
            return updated;
        }
        for (int i = 0; i < kVictims; ++i) {
            CEntryMonthData browser;
            browser.SetFolder(dir.path());
            if (browser.Load({2005, 3}) == EntryMonthLoad::notOpened) return false;
            const std::vector<int> found = browser.EntriesAt(CTime(2005, 3, 10, 0, 0, i).GetTime(), 2, "victim");
            if (found.size() != 1 || !browser.DeleteEntry(browser.Entries()[found[0]].serial)) return false;
        }
        return true;
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(ReadBytes(MonthFile()).size() % kRecordSize, 0u);
    std::map<std::string, DWORD> written;
    int foreign = 0, victims = 0;
    for (const auto& e : Stored()) {
        if (e.type == 7) ++foreign;
        else if (e.type == 2) ++victims;
        else EXPECT_TRUE(written.emplace(e.name, e.updateTime).second) << e.name << " is stored twice";
    }
    EXPECT_EQ(foreign, 1);
    EXPECT_EQ(victims, 0);
    ASSERT_EQ(written.size(), static_cast<size_t>(kWritten));
    for (int i = 0; i + 1 < kWritten; ++i)
        EXPECT_EQ(written[Written(i)], At(21, 0) + i + 1) << "the update of " << Written(i) << " was undone";
    EXPECT_EQ(written[Written(kWritten - 1)], 0u);
}
