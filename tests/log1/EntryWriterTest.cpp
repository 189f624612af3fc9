// The first-generation writer: the bytes it appends, the pending table and UpdateLog, its limits,
// writes cut short, and objects and threads sharing one table.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <unistd.h>

#include "log1/CLogManager.h"
#include "log1/EntryRecord.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"

namespace {

using entryfile::kRecordSize;

class EntryWriter : public testing::Test {
protected:
    EntryWriter() : tz("Europe/Berlin") { writer.SetSavePath((dir.path() + "/").c_str()); }

    static DWORD At(int month, int day, int hour, int minute = 0) { return CTime(2005, month, day, hour, minute, 0).GetTime(); }
    std::string MonthFile(const char* month = "200503") const { return dir.file(std::string(month) + ".log"); }
    std::vector<std::uint8_t> Bytes(const char* month = "200503") const { return ReadBytes(MonthFile(month)); }
    _LOG_RECORD_V1_ Entry(size_t index, const char* month = "200503") const {
        return entryfile::DecodeEntry(Bytes(month).data() + index * kRecordSize);
    }

    TempDir dir;
    ScopedTz tz;
    CLogManager writer;
};

}  // namespace

TEST_F(EntryWriter, StoresEachFieldInItsPlaceWithEverythingElseZero) {
    writer.SaveLog("camera", 3, 1110000000, 1110000300, 1, "motion");
    const auto bytes = Bytes();
    ASSERT_EQ(bytes.size(), kRecordSize);
    std::vector<std::uint8_t> expected(kRecordSize, 0);
    PutU32(expected.data(), 1110000000);
    PutU32(expected.data() + 4, 1110000300);
    std::memcpy(expected.data() + 8, "camera", 6);
    PutU32(expected.data() + 32, 3);
    PutU32(expected.data() + 36, 1);
    std::memcpy(expected.data() + 40, "motion", 6);
    EXPECT_EQ(bytes, expected);
}

TEST_F(EntryWriter, EntriesGoToTheFileOfTheirLocalMonthOneAfterAnother) {
    writer.SaveLog("a", 0, At(3, 3, 10), 1, 0, "x");
    writer.SaveLog("b", 0, At(3, 31, 23, 30), 1, 0, "x");  // 22:30 UTC, still March locally
    writer.SaveLog("c", 0, At(4, 1, 0, 30), 1, 0, "x");    // 31 March 22:30 UTC, April locally
    EXPECT_EQ(Bytes().size(), 2 * kRecordSize);
    EXPECT_EQ(std::string(Entry(1).name), "b");
    EXPECT_EQ(std::string(Entry(0, "200504").name), "c");
}

TEST_F(EntryWriter, ANullTextStoresTheTypesLabelAndNothingForATypeWithout) {
    const struct {
        DWORD type;
        const char* text;
    } cases[] = {{0, "System"}, {1, "Recording"}, {2, "Setup"}, {3, "Network"}, {4, "Error"}, {7, ""}};
    for (const auto& c : cases) writer.SaveLog("n", c.type, At(3, 1, 1), 1, 0, nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(std::string(Entry(i).text), cases[i].text) << i;
}

TEST_F(EntryWriter, LongNamesAndTextsAreCutAtACharacterAndTooLongPathsWriteNothing) {
    const std::string name = "abcdefghijklmnopqrs\xC3\xA9xyz";  // the 20th and 21st bytes are one character
    writer.SaveLog(name.c_str(), 0, At(3, 1, 1), 0, 0, std::string(300, 't').c_str());
    EXPECT_EQ(std::string(Entry(0).name), "abcdefghijklmnopqrs");
    EXPECT_EQ(std::string(Entry(0).text), std::string(127, 't'));
    // The whole name, as the host passes it again, still finds the entry.
    EXPECT_EQ(writer.UpdateLog(name.c_str(), 0, 9), 1);

    TempDir other;
    CLogManager longPath;
    longPath.SetSavePath((other.path() + "/" + std::string(250, 'd')).c_str());
    longPath.SaveLog("n", 0, At(3, 1, 1), 1, 0, "x");
    longPath.SetSavePath("");
    longPath.SaveLog("n", 0, At(3, 1, 1), 1, 0, "x");
    EXPECT_EQ(Bytes().size(), kRecordSize);  // the shared save path was refused: nothing went anywhere
    EXPECT_FALSE(FileExists("200503.log"));
}

TEST_F(EntryWriter, UpdateLogWritesOnlyTheUpdateTimeOnceAndInSlotOrder) {
    writer.SaveLog("door", 1, At(3, 3, 10), 0, 0, "x");
    writer.SaveLog("door", 1, At(3, 3, 11), 0, 0, "y");
    const auto before = Bytes();
    EXPECT_EQ(CLogManager::PendingCount(), 2);
    EXPECT_EQ(writer.UpdateLog("door", 2, 5), 0);  // another type
    EXPECT_EQ(writer.UpdateLog("Door", 1, 5), 0);  // names are case-sensitive
    EXPECT_EQ(writer.UpdateLog("door", 1, 1234), 1);
    auto expected = before;
    PutU32(expected.data() + 4, 1234);
    EXPECT_EQ(Bytes(), expected);
    EXPECT_EQ(writer.UpdateLog("door", 1, 99), 1);
    EXPECT_EQ(Entry(1).updateTime, 99u);
    EXPECT_EQ(writer.UpdateLog("door", 1, 5), 0);
    EXPECT_EQ(CLogManager::PendingCount(), 0);
}

TEST_F(EntryWriter, AnEntryWithAnUpdateTimeOrAFullTableIsNotRemembered) {
    writer.SaveLog("done", 0, At(3, 1, 1), 7, 0, "x");
    for (int i = 0; i < CLogManager::kPendingSlots + 1; ++i) writer.SaveLog("busy", 0, At(3, 1, 2) + i, 0, 0, "x");
    EXPECT_EQ(CLogManager::PendingCount(), CLogManager::kPendingSlots);
    EXPECT_EQ(writer.UpdateLog("done", 0, 9), 0);
    EXPECT_EQ(Bytes().size(), (CLogManager::kPendingSlots + 2) * kRecordSize);
}

TEST_F(EntryWriter, AShortNameTakesASlotTheNextEntryMayReuse) {
    writer.SaveLog("ab", 0, At(3, 1, 1), 0, 0, "x");
    writer.SaveLog("abc", 0, At(3, 1, 2), 0, 0, "x");
    EXPECT_EQ(writer.UpdateLog("ab", 0, 9), 0);
    EXPECT_EQ(writer.UpdateLog("abc", 0, 9), 1);
    EXPECT_EQ(Entry(1).updateTime, 9u);
}

TEST_F(EntryWriter, AnEntryOfJanuaryUpdatedInFebruaryIsCompletedInJanuarysFile) {
    const DWORD late = CTime(2005, 1, 31, 23, 30, 0).GetTime();
    writer.SaveLog("rec", 1, late, 0, 0, "x");
    writer.SaveLog("rec", 1, CTime(2005, 2, 1, 0, 10, 0).GetTime(), 1, 0, "x");
    EXPECT_EQ(writer.UpdateLog("rec", 1, CTime(2005, 2, 1, 0, 15, 0).GetTime()), 1);
    EXPECT_EQ(Entry(0, "200501").updateTime, CTime(2005, 2, 1, 0, 15, 0).GetTime());
    EXPECT_EQ(Entry(0, "200502").updateTime, 1u);
}

TEST_F(EntryWriter, UpdateLogFollowsItsEntryWhenTheMonthWasRewrittenAndNeverWritesAnother) {
    writer.SaveLog("first", 0, At(3, 1, 1), 0, 0, "x");
    writer.SaveLog("second", 0, At(3, 2, 1), 0, 0, "x");
    // A rewrite, newest first, as the browser saves a month: the two entries swap places.
    auto bytes = Bytes();
    std::vector<std::uint8_t> swapped(bytes.begin() + kRecordSize, bytes.end());
    swapped.insert(swapped.end(), bytes.begin(), bytes.begin() + kRecordSize);
    WriteBytes(MonthFile(), swapped);
    EXPECT_EQ(writer.UpdateLog("first", 0, 77), 1);
    EXPECT_EQ(Entry(1).updateTime, 77u);
    EXPECT_EQ(Entry(0).updateTime, 0u);
    // The month file deleted and made anew: "second" is not in it, and the entry at its old place
    // is left alone.
    std::remove(MonthFile().c_str());
    writer.SaveLog("other", 0, At(3, 5, 1), 1, 0, "x");
    writer.SaveLog("other", 0, At(3, 5, 2), 1, 0, "x");
    const auto remade = Bytes();
    EXPECT_EQ(writer.UpdateLog("second", 0, 88), 0);
    EXPECT_EQ(Bytes(), remade);
}

TEST_F(EntryWriter, UpdateLogOfADeletedMonthFileReturnsZeroAndForgetsTheEntry) {
    writer.SaveLog("gone", 0, At(3, 1, 1), 0, 0, "x");
    std::remove(MonthFile().c_str());
    EXPECT_EQ(writer.UpdateLog("gone", 0, 5), 0);
    EXPECT_FALSE(FileExists(MonthFile().c_str()));
    EXPECT_EQ(CLogManager::PendingCount(), 0);
}

TEST_F(EntryWriter, AWriteCutShortLeavesNoTornEntryAndATornTailIsWrittenOver) {
    writer.SaveLog("ok", 0, At(3, 1, 1), 0, 0, "x");
    FaultyFiles faults;
    CLogManager faulty(faults.Factory());
    faults.FailWrite(1, 100);
    EXPECT_THROW(faulty.SaveLog("cut", 0, At(3, 1, 2), 0, 0, "x"), CFileException);
    EXPECT_EQ(Bytes().size(), kRecordSize);
    // A writer killed mid-entry: the next entry starts where the torn one began.
    writer.SaveLog("torn", 0, At(3, 1, 4), 0, 0, "x");
    auto torn = Bytes();
    torn.resize(kRecordSize + 50);
    WriteBytes(MonthFile(), torn);
    writer.SaveLog("next", 0, At(3, 1, 3), 0, 0, "x");
    ASSERT_EQ(Bytes().size(), 2 * kRecordSize);
    EXPECT_EQ(std::string(Entry(1).name), "next");
    EXPECT_EQ(writer.UpdateLog("next", 0, 4), 1);
    EXPECT_EQ(Entry(1).updateTime, 4u);
}

// Bytes after the last whole entry that cannot begin an entry of the month are no torn entry of
// ours (another log's file by the same name, or damage): the writer refuses, touching nothing.
TEST_F(EntryWriter, ATailThatIsNoPartOfAnEntryIsRefusedAndLeftAlone) {
    writer.SaveLog("ok", 0, At(3, 1, 1), 0, 0, "x");
    struct Case {
        const char* what;
        size_t at;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"a time outside the month", 0, {0x01, 0, 0, 0}},
        {"a name without its end", 8, std::vector<std::uint8_t>(21, 'n')},
        {"bytes after the name's end", 8, {'a', 0, 'b'}},
        {"padding that is not zero", 29, {0, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto bytes = Bytes();
        bytes.resize(kRecordSize);
        auto tail = std::vector<std::uint8_t>(bytes.begin(), bytes.end());  // a copy of a good entry
        std::copy(c.bytes.begin(), c.bytes.end(), tail.begin() + static_cast<std::ptrdiff_t>(c.at));
        tail.resize(c.at + c.bytes.size() + 1);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        WriteBytes(MonthFile(), bytes);
        writer.SaveLog("refused", 0, At(3, 1, 2), 0, 0, "x");
        EXPECT_EQ(Bytes(), bytes);
        EXPECT_NE(writer.LastRefusal().find("offset 168"), std::string::npos) << writer.LastRefusal();
    }
}

TEST_F(EntryWriter, MonthFilesAreNeverOpenedThroughASymlink) {
    TempDir elsewhere;
    const std::string target = elsewhere.file("target");
    WriteBytes(target, {});
    ASSERT_EQ(::symlink(target.c_str(), MonthFile().c_str()), 0);
    writer.SaveLog("n", 0, At(3, 1, 1), 0, 0, "x");
    EXPECT_TRUE(ReadBytes(target).empty());
}

TEST_F(EntryWriter, ObjectsShareOneTableThatLivesWhileAnyOfThemDoes) {
    auto second = std::make_unique<CLogManager>();
    writer.SaveLog("shared", 0, At(3, 1, 1), 0, 0, "x");
    second.reset();  // destroying one object frees nothing the others use
    CLogManager third;
    EXPECT_EQ(third.UpdateLog("shared", 0, 3), 1);
    EXPECT_EQ(Entry(0).updateTime, 3u);
}

TEST(EntryWriterState, IsMadeWithTheFirstObjectAndFreedWithTheLast) {
    ScopedTz tz("Europe/Berlin");
    TempDir dir;
    {
        CLogManager only;
        only.SetSavePath((dir.path() + "/").c_str());
        only.SaveLog("pending", 0, CTime(2005, 3, 1, 1, 0, 0).GetTime(), 0, 0, "x");
        EXPECT_EQ(CLogManager::PendingCount(), 1);
    }
    EXPECT_EQ(CLogManager::PendingCount(), 0);
    CLogManager fresh;  // no save path: nothing is written anywhere
    fresh.SaveLog("n", 0, CTime(2005, 4, 1, 1, 0, 0).GetTime(), 0, 0, "x");
    EXPECT_EQ(fresh.UpdateLog("pending", 0, 1), 0);
    EXPECT_FALSE(FileExists(dir.file("200504.log").c_str()));
}

TEST_F(EntryWriter, ThreadsSavingAndUpdatingTogetherLoseNothing) {
    constexpr int kThreads = 4, kEach = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            CLogManager own;
            for (int i = 0; i < kEach; ++i) {
                const std::string name = "t" + std::to_string(t) + "-" + std::to_string(i);
                own.SaveLog(name.c_str(), 0, CTime(2005, 3, 1, 1, 0, 0).GetTime() + i, 0, 0, "x");
                EXPECT_EQ(own.UpdateLog(name.c_str(), 0, 1000 + i), 1);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    const auto bytes = Bytes();
    ASSERT_EQ(bytes.size(), kThreads * kEach * kRecordSize);
    for (size_t i = 0; i < kThreads * kEach; ++i) EXPECT_GE(Entry(i).updateTime, 1000u);
}
