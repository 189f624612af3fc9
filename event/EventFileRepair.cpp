#include "event/EventFileRepair.h"

#include "event/EventFileReader.h"
#include "event/EventRecord.h"
#include "module/MonthFileScan.h"

std::optional<RepairedContents> RepairedEventFile(std::span<const std::uint8_t> bytes) {
    RepairedContents repaired;
    std::optional<std::uint64_t> firstUnmarked;
    std::uint64_t unmarked = 0;
    const MonthFileUnits reading = EventFileUnitsReading([&](const std::uint8_t* record, const UnitAt& at) {
        if (record[eventfile::kMarkOffset] != eventfile::kMark) {
            if (unmarked++ == 0) firstUnmarked = at.start;
            return;
        }
        repaired.bytes.insert(repaired.bytes.end(), record, record + eventfile::kRecordSize);
    });
    const MonthFileScan scan = ScanMonthBytes(reading, "", bytes, ScanRule::writer);
    if (!firstUnmarked && scan.end == bytes.size()) return std::nullopt;
    repaired.kept = repaired.bytes.size() / eventfile::kRecordSize;
    repaired.damage = firstUnmarked ? std::to_string(unmarked) + (unmarked == 1 ? " record has" : " records have") +
                                          " no mark, the first at offset " + std::to_string(*firstUnmarked)
                                    : "a record is cut off at offset " + std::to_string(scan.end);
    return repaired;
}

MonthFileRepair RepairEventFile(const std::string& path) { return RepairMonthFile(path, RepairedEventFile); }
