// The event writer with other writers and after crashes: several processes appending to one
// month file, writers killed mid-append, month files that are not plain files, damaged files
// refused and repaired, and a caller told when an event was not stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "event/EventFileRepair.h"
#include "platform/core/CFile.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD kMay2 = 1115028000;  // 2005-05-02 12:00 CEST

class EventWriterRecovery : public testing::Test {
protected:
    EventWriterRecovery() : tz("Europe/Berlin") {}
    std::string MonthFile() const { return dir.file("200505.evt"); }

    // An event from a writer of its own, as another process or a restarted host has; 1 if stored.
    int WriteWithNewWriter(const char* text) {
        CEventManager writer;
        writer.Init(dir.path().c_str());
        return writer.WriteEventLog(1, 0, 1, kMay2, 1, text);
    }

    // The texts of the file's records, which must all be whole and marked.
    std::vector<std::string> Texts() const {
        const EventFileContents contents = ParseEventFile(ReadBytes(MonthFile()));
        EXPECT_EQ(contents.trailingBytes, 0u);
        std::vector<std::string> texts;
        for (const EventFileEntry& e : contents.records) {
            EXPECT_TRUE(e.valid) << "offset " << e.offset;
            texts.emplace_back(e.event.text);
        }
        return texts;
    }

    TempDir dir;
    ScopedTz tz;
};

}  // namespace

TEST_F(EventWriterRecovery, TheCallerIsToldWhetherTheEventWasStored) {
    EXPECT_EQ(WriteWithNewWriter("stored"), 1);
    CEventManager shortFolder;
    shortFolder.Init("C:");
    EXPECT_EQ(shortFolder.WriteEventLog(1, 0, 1, kMay2, 1, "lost"), 0);
    CEventManager missing;
    missing.Init(dir.file("missing").c_str());
    EXPECT_EQ(missing.WriteEventLog(1, 0, 1, kMay2, 1, "lost"), 0);
    EXPECT_NE(missing.LastRefusal().find("No such file or directory"), std::string::npos) << missing.LastRefusal();
    EXPECT_EQ(Texts(), std::vector<std::string>{"stored"});
}

// A writer killed during its write leaves part of a record: the next writer cuts it off, so that
// its own record, and every later one, sits on its 36-byte place.
TEST_F(EventWriterRecovery, APartialRecordAtTheEndIsCutBeforeTheNextAppend) {
    for (const size_t partial : {size_t{1}, size_t{20}, size_t{35}}) {
        SCOPED_TRACE(partial);
        std::remove(MonthFile().c_str());
        ASSERT_EQ(WriteWithNewWriter("first"), 1);
        auto bytes = ReadBytes(MonthFile());
        bytes.insert(bytes.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(partial));
        WriteBytes(MonthFile(), bytes);
        ASSERT_EQ(WriteWithNewWriter("next"), 1);
        EXPECT_EQ(Texts(), (std::vector<std::string>{"first", "next"}));
    }
}

// The fault seam cuts a write short; the part that reached the file is cut back at once.
TEST_F(EventWriterRecovery, AShortWriteIsCutBackAtOnce) {
    FaultyFiles faults;
    CEventManager writer(faults.Factory());
    writer.Init(dir.path().c_str());
    ASSERT_EQ(writer.WriteEventLog(1, 0, 1, kMay2, 1, "first"), 1);
    const auto before = ReadBytes(MonthFile());
    for (const UINT written : {1u, 20u, 35u}) {
        faults.FailWrite(1, written);
        EXPECT_THROW(writer.WriteEventLog(1, 0, 1, kMay2, 1, "failing"), CFileException);
        EXPECT_EQ(ReadBytes(MonthFile()), before);
    }
    // When the cut-back fails too, the next append cuts the rest.
    faults.FailWrite(1, 20);
    faults.FailSetLength(1);
    EXPECT_THROW(writer.WriteEventLog(1, 0, 1, kMay2, 1, "failing"), CFileException);
    ASSERT_EQ(writer.WriteEventLog(1, 0, 1, kMay2, 1, "next"), 1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"first", "next"}));
}

TEST_F(EventWriterRecovery, AWriterProcessKilledMidWriteLeavesEveryRecordOnItsPlace) {
    CEventManager writer;
    writer.Init(dir.path().c_str());
    ASSERT_TRUE(KillWhenFileReaches(MonthFile(), 200'000, [&] { writer.AddEventLog(1, 0, 1, kMay2, 1, "busy"); }));
    ASSERT_EQ(WriteWithNewWriter("after"), 1);
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts.back(), "after");
}

TEST_F(EventWriterRecovery, SeveralProcessesAppendToOneMonthFileAndNothingIsLost) {
    constexpr int kProcesses = 4, kEvents = 500;
    EXPECT_TRUE(RunInChildren(kProcesses, [&](int p) {
        CEventManager writer;
        writer.Init(dir.path().c_str());
        int stored = 0;
        for (int i = 0; i < kEvents; ++i)
            stored += writer.WriteEventLog(1, 0, 1, kMay2, 1, ("p" + std::to_string(p) + "-" + std::to_string(i)).c_str());
        return stored == kEvents;
    }));
    const auto texts = Texts();
    EXPECT_EQ(texts.size(), size_t{kProcesses * kEvents});
    EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), size_t{kProcesses * kEvents});
}

TEST_F(EventWriterRecovery, AMonthFileThatIsNotAPlainFileIsRefused) {
    const std::string target = dir.file("target");
    WriteBytes(target, {1, 2, 3});
    for (const bool fifo : {false, true}) {
        SCOPED_TRACE(fifo ? "FIFO" : "symlink");
        std::remove(MonthFile().c_str());
        ASSERT_EQ(fifo ? mkfifo(MonthFile().c_str(), 0600) : symlink(target.c_str(), MonthFile().c_str()), 0);
        EXPECT_EQ(WriteWithNewWriter("refused"), 0);
        EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
    }
}

// A whole record without its mark is part of the file: earlier recorders left such records (a text
// of 16 or more characters ran into the mark). The next event goes after it, and only a record cut
// off at the end is cut; repair keeps every marked record, those before it and those after.
TEST_F(EventWriterRecovery, ARecordWithoutItsMarkIsPartOfTheFileAndRepairKeepsEveryMarkedRecord) {
    for (const char* text : {"one", "two", "three"}) ASSERT_EQ(WriteWithNewWriter(text), 1);
    auto bytes = ReadBytes(MonthFile());
    bytes[36 + 35] = 'X';  // the second record's mark
    auto withTail = bytes;
    withTail.push_back(7);  // and a cut-off record after the last
    WriteBytes(MonthFile(), withTail);

    CEventManager writer;
    writer.Init(dir.path().c_str());
    EXPECT_EQ(writer.WriteEventLog(1, 0, 1, kMay2, 1, "four"), 1) << writer.LastRefusal();
    const auto written = ReadBytes(MonthFile());
    ASSERT_EQ(written.size(), 4 * 36u) << "the cut-off record is cut, the unmarked one kept";
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), written.begin())) << "the records before are untouched";

    const MonthFileRepair repair = RepairEventFile(MonthFile());
    EXPECT_TRUE(repair.repaired);
    EXPECT_EQ(repair.kept, 3u);
    EXPECT_EQ(repair.dropped, 36u);
    EXPECT_EQ(ReadBytes(repair.damagedCopy), written);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "three", "four"}));
    EXPECT_EQ(writer.WriteEventLog(1, 0, 1, kMay2, 1, "after"), 1) << "the writer opens the repaired file";
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "three", "four", "after"}));

    EXPECT_FALSE(RepairEventFile(MonthFile()).repaired) << "a whole file is left alone";
    bytes.resize(36 * 2 + 5);  // a second repair keeps the first copy and takes the next name
    WriteBytes(MonthFile(), bytes);
    EXPECT_EQ(RepairEventFile(MonthFile()).damagedCopy, MonthFile() + ".damaged.1");
}
