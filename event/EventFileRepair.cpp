#include "event/EventFileRepair.h"

#include "event/EventRecord.h"

std::optional<RepairedContents> RepairedEventFile(std::span<const std::uint8_t> bytes) {
    const size_t whole = bytes.size() - bytes.size() % eventfile::kRecordSize;
    const auto bad = eventfile::FirstUnmarkedRecord(bytes.first(whole));
    if (!bad && whole == bytes.size()) return std::nullopt;
    const size_t kept = bad ? *bad : whole;
    RepairedContents repaired;
    repaired.bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    repaired.kept = kept / eventfile::kRecordSize;
    repaired.damage = bad ? "the record at offset " + std::to_string(*bad) + " has no mark"
                          : "a record is cut off at offset " + std::to_string(whole);
    return repaired;
}

MonthFileRepair RepairEventFile(const std::string& path) { return RepairMonthFile(path, RepairedEventFile); }
