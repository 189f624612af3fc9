// The first-generation month file: every whole record decoded, the file loaded by the browser's
// data core from a folder, its days listed and grouped by type, every entry's pane text rendered,
// and the searches and in-memory removals run over what was loaded.
#include <cstdio>
#include <iterator>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzTarget.h"
#include "log1/EntryFileUnits.h"
#include "log1/EntryMonthData.h"
#include "log1/EntryRecord.h"
#include "log1/EntryText.h"
#include "module/MonthFileScan.h"

namespace {

// March 2005, whose 27th is the 23-hour day of the change to summer time in the zone that
// FuzzFolder pins.
constexpr YearMonth kMonth{2005, 3};
constexpr DWORD kFirstOfMonth = 1109635200;  // 2005-03-01 00:00 UTC

// Counts, renders and then removes entries the way the browser and a host would, ending with an
// emptied array.
void Browse(CEntryMonthData& month) {
    for (const CLogRecordItem& e : month.Entries()) EntryPaneText(e);
    const auto days = month.Days();
    for (const LocalDay& day : days) {
        month.TypesOfDay(day);
        month.MemorySearchTime(day.midnight, day.end);
    }
    for (DWORD type = 0; type <= entryfile::kTypeCount; ++type) month.MemorySearchType(type);
    if (month.Entries().IsEmpty()) return;
    month.MemoryDeleteTime(month.Entries()[0].time);
    if (!days.empty()) {
        month.MemoryDeleteType(1, days.front().midnight, days.front().end);
        month.MemoryDeleteTime(days.back().midnight, days.back().end);
    }
    month.MemoryDeleteType(2);
    month.MemoryDeleteTime(0, 0xFFFFFFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (size_t at = 0; at + entryfile::kRecordSize <= size; at += entryfile::kRecordSize)
        EntryPaneText(entryfile::DecodeEntry(data + at));
    for (const ScanRule rule : {ScanRule::writer, ScanRule::reader})
        ScanMonthBytes(EntryFileUnits(), "fuzz/200504.log", {data, size}, rule);

    CEntryMonthData month;
    month.SetFolder(FuzzFolder("log1"));
    if (!WriteFuzzFile(month.MonthPath(kMonth), data, size)) return 0;
    month.Load(kMonth);
    Browse(month);
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    // Entries of every type and one of a type the browser skips, over three days (one of them the
    // change to summer time), some still pending, some with a text of the full width.
    constexpr DWORD kTimes[] = {kFirstOfMonth + 3600, kFirstOfMonth + 26 * 86400 + 7200,
                                kFirstOfMonth + 26 * 86400 + 7200, kFirstOfMonth + 30 * 86400};
    std::vector<std::uint8_t> file;
    for (DWORD i = 0; i < 12; ++i) {
        _LOG_RECORD_V1_ e{};
        e.time = kTimes[i % std::size(kTimes)] + i;
        e.updateTime = i % 3 == 0 ? 0 : e.time + 60;
        std::snprintf(e.name, sizeof e.name, "camera %02u", i + 1);
        e.type = i % (entryfile::kTypeCount + 1);
        e.flag = i % 2;
        std::snprintf(e.text, sizeof e.text, "%.*s", static_cast<int>(i * 11), std::string(127, 'x').c_str());
        file.resize(file.size() + entryfile::kRecordSize);
        entryfile::EncodeEntry(file.data() + file.size() - entryfile::kRecordSize, e);
    }
    std::vector<std::uint8_t> torn(file.begin(), file.begin() + 2 * entryfile::kRecordSize + 40);
    return {file, torn};
}
