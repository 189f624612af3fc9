#include "event/EventFileRepair.h"

#include "event/EventRecord.h"

std::optional<RepairedContents> RepairedEventFile(std::span<const std::uint8_t> bytes) {
    RepairedContents repaired;
    std::optional<std::uint64_t> firstUnmarked;
    const size_t whole = bytes.size() - bytes.size() % eventfile::kRecordSize;
    for (size_t at = 0; at < whole; at += eventfile::kRecordSize) {
        const auto record = bytes.subspan(at, eventfile::kRecordSize);
        if (record[eventfile::kMarkOffset] != eventfile::kMark) {
            if (!firstUnmarked) firstUnmarked = at;
            continue;
        }
        repaired.bytes.insert(repaired.bytes.end(), record.begin(), record.end());
    }
    if (!firstUnmarked && whole == bytes.size()) return std::nullopt;
    repaired.kept = repaired.bytes.size() / eventfile::kRecordSize;
    const std::uint64_t unmarked = whole / eventfile::kRecordSize - repaired.kept;
    repaired.damage = firstUnmarked ? std::to_string(unmarked) + (unmarked == 1 ? " record has" : " records have") +
                                          " no mark, the first at offset " +
                                          std::to_string(*firstUnmarked)
                                    : "a record is cut off at offset " + std::to_string(whole);
    return repaired;
}

MonthFileRepair RepairEventFile(const std::string& path) { return RepairMonthFile(path, RepairedEventFile); }
