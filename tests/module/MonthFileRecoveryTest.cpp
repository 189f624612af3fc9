// The one rule of what a killed append may leave, through the real writer of each family: the
// second-generation log, the event log and the first-generation log. Every point at which a writer
// can be killed is mended by the next append; every other change of a month file's bytes is either
// refused with its offset, the file untouched, or appended after without a whole unit lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "event/CEventManager.h"
#include "event/EventFileReader.h"
#include "log1/CLogManager.h"
#include "log1/EntryFileUnits.h"
#include "log2/CLogManager2.h"
#include "log2/LogFileReader.h"
#include "module/MonthFileScan.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/TempDir.h"

namespace {

constexpr DWORD kApril2 = 1112436000;  // 2005-04-02 12:00 Berlin (CEST)

struct Family {
    const char* name;
    const MonthFileUnits& units;
    const char* file;  // the month file of kApril2
    // Appends unit `n` with a writer of its own, as another process has; the refusal, or "" once stored.
    std::function<std::string(const std::string& dir, int n, int size)> write;
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

std::string WriteLog(const std::string& dir, int n, int size) {
    CLogManager2 writer;
    writer.Init(dir.c_str());
    const DWORD h = writer.CreateLog(("log" + std::to_string(n)).c_str(), 1);
    for (int r = 1; r <= size; ++r)
        writer.AddLogRecord2(h, 1, 1, r % 3, DWORD(n), DWORD(r), LOG_VALUE_NONE, LOG_VALUE_NONE, "text", "more");
    return writer.UpdateLog(h, 0) ? "" : writer.LastRefusal();
}

std::string WriteEvent(const std::string& dir, int n, int) {
    CEventManager writer;
    writer.Init(dir.c_str());
    return writer.WriteEventLog(1, DWORD(n), 1, kApril2 + n, 1, "event") ? "" : writer.LastRefusal();
}

std::string WriteEntry(const std::string& dir, int n, int) {
    CLogManager writer;
    writer.SetSavePath((dir + "/").c_str());
    writer.SaveLog(("entry" + std::to_string(n)).c_str(), DWORD(n % 5), kApril2 + n, 1, 0, "text");
    return writer.LastRefusal();
}

const Family kFamilies[] = {
    {"second-generation log", LogFileUnits(), "200504.log", WriteLog},
    {"event log", EventFileUnits(), "200504.evt", WriteEvent},
    {"first-generation log", EntryFileUnits(), "200504.log", WriteEntry},
};

class MonthFileRecovery : public testing::TestWithParam<Family> {
protected:
    MonthFileRecovery() : tz("Europe/Berlin"), clock(kApril2) {}
    const Family& family() const { return GetParam(); }
    std::string Path() const { return dir.file(family().file); }
    // Writes units 1 to `n` into a new file and returns its bytes.
    std::vector<std::uint8_t> Month(int n) {
        std::remove(Path().c_str());
        for (int i = 1; i <= n; ++i) EXPECT_EQ(family().write(dir.path(), i, i), "");
        return ReadBytes(Path());
    }
    MonthFileScan Scan(ScanRule rule) const { return ScanMonthBytes(family().units, Path(), ReadBytes(Path()), rule); }

    TempDir dir;
    ScopedTz tz;
    ScopedClock clock;
};

std::vector<std::uint8_t> Prefix(const std::vector<std::uint8_t>& bytes, size_t n) {
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)};
}

}  // namespace

// A writer killed after any byte of its append (and, for the log, before rewriting the header)
// leaves a file the next writer mends: the torn unit cut, a whole uncounted one counted in.
TEST_P(MonthFileRecovery, AWriterKilledAtAnyByteOfItsAppendIsMendedByTheNext) {
    const auto two = Month(2);
    const auto three = Month(3);
    const size_t header = family().units.headerSize;
    for (size_t cut = two.size() + 1; cut <= three.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "killed after " << cut << " bytes");
        auto left = Prefix(three, cut);
        std::copy(two.begin(), two.begin() + static_cast<std::ptrdiff_t>(header), left.begin());  // old header
        WriteBytes(Path(), left);
        ASSERT_EQ(family().write(dir.path(), 4, 2), "");
        const MonthFileScan scan = Scan(ScanRule::writer);
        EXPECT_FALSE(scan.damage) << scan.damage->reason;
        EXPECT_EQ(scan.tornBytes, 0u);
        EXPECT_EQ(scan.units, cut == three.size() ? 4u : 3u);
        const auto now = ReadBytes(Path());
        EXPECT_TRUE(std::equal(two.begin() + static_cast<std::ptrdiff_t>(header), two.end(),
                               now.begin() + static_cast<std::ptrdiff_t>(header)))
            << "the whole units are untouched";
    }
}

// A writer process killed for real wherever it is, again and again: no unit is ever buried.
TEST_P(MonthFileRecovery, WriterProcessesKilledMidWriteLeaveOnlyWholeUnits) {
    Month(1);
    for (int kill = 0; kill < 3; ++kill) {
        const std::uint64_t size = ReadBytes(Path()).size() + 20'000;
        ASSERT_TRUE(KillWhenFileReaches(Path(), size, [&] {
            for (int n = 0;; ++n) family().write(dir.path(), n, 50);
        }));
        ASSERT_EQ(family().write(dir.path(), 9, 2), "");
        const MonthFileScan scan = Scan(ScanRule::writer);
        EXPECT_FALSE(scan.damage) << scan.damage->reason;
        EXPECT_EQ(scan.tornBytes, 0u);
    }
}

// Every single-bit change of a month of five units: the next write either refuses the file, naming
// an offset and leaving it as it is, or appends after every byte of it. Whatever a reader calls
// damage, the writer refuses too.
TEST_P(MonthFileRecovery, EveryChangedBitIsRefusedOrKeptWhole) {
    const auto month = Month(5);
    const size_t header = family().units.headerSize;
    int refused = 0;
    for (size_t at = 0; at < month.size(); ++at) {
        for (const std::uint8_t bit : {0x01, 0x80}) {
            SCOPED_TRACE(testing::Message() << "byte " << at << " ^ " << int(bit));
            auto mutant = month;
            mutant[at] ^= bit;
            WriteBytes(Path(), mutant);
            const bool readerSeesDamage = Scan(ScanRule::reader).damage.has_value();
            const std::string refusal = family().write(dir.path(), 6, 1);
            const auto now = ReadBytes(Path());
            if (!refusal.empty()) {
                ++refused;
                EXPECT_EQ(now, mutant) << "a refused file is untouched";
                EXPECT_NE(refusal.find("offset"), std::string::npos) << refusal;
                continue;
            }
            EXPECT_FALSE(readerSeesDamage) << "the writer extended what a reader calls damaged";
            ASSERT_GT(now.size(), mutant.size());
            EXPECT_TRUE(std::equal(mutant.begin() + static_cast<std::ptrdiff_t>(header), mutant.end(),
                                   now.begin() + static_cast<std::ptrdiff_t>(header)))
                << "nothing of the month was cut or changed";
        }
    }
    RecordProperty("refused", refused);
}

INSTANTIATE_TEST_SUITE_P(AllFamilies, MonthFileRecovery, testing::ValuesIn(kFamilies),
                         [](const testing::TestParamInfo<Family>& info) {
                             std::string name = info.param.name;
                             std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
                             return name;
                         });

// Both log generations name their month files "YYYYMM.log". A host that points both writers at one
// folder gets each file refused by the other writer, with the reason, and never cut or overwritten.
TEST(TwoLogGenerations, NeitherWriterMendsOrExtendsTheOthersMonthFile) {
    TempDir dir;
    ScopedTz tz("Europe/Berlin");
    ScopedClock clock(kApril2);
    const std::string path = dir.file("200504.log");
    for (const bool secondFirst : {true, false}) {
        SCOPED_TRACE(secondFirst ? "a second-generation file" : "a first-generation file");
        std::remove(path.c_str());
        const std::string written = secondFirst ? WriteLog(dir.path(), 1, 1) : WriteEntry(dir.path(), 1, 1);
        ASSERT_EQ(written, "");
        const auto before = ReadBytes(path);
        const std::string refusal = secondFirst ? WriteEntry(dir.path(), 2, 1) : WriteLog(dir.path(), 2, 1);
        EXPECT_NE(refusal.find(secondFirst ? "not a first-generation month file" : "not a second-generation month file"),
                  std::string::npos)
            << refusal;
        EXPECT_EQ(ReadBytes(path), before);
    }
}
