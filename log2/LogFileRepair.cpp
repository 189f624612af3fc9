#include "log2/LogFileRepair.h"

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "module/MonthFileScan.h"

namespace {

std::string WhatIsWrong(const MonthFileScan& scan) {
    if (scan.damage) return "damaged at offset " + std::to_string(scan.damage->offset) + ": " + scan.damage->reason;
    if (scan.tornBytes)
        return "a block is cut off at offset " + std::to_string(scan.end) + " after " + std::to_string(scan.tornBytes) +
               " bytes";
    return "the header counts " + std::to_string(*scan.counted) + " blocks, the file holds " + std::to_string(scan.units);
}

}  // namespace

std::optional<RepairedContents> RepairedLogFile(std::span<const std::uint8_t> bytes, bool& notALog) {
    notALog = false;
    if (bytes.empty()) return std::nullopt;  // a new file, as a writer starts it
    // Under the repair's lock, as a writer scans: at most one append can be unfinished.
    const MonthFileScan scan = ScanMonthBytes(LogFileUnits(), "", bytes, ScanRule::writer);
    if (!scan.counted) {
        notALog = bytes.size() >= logfile::kFileHeaderSize;
        if (notALog) return std::nullopt;
        return RepairedContents{{}, 0, "the file is shorter than its 5-byte header"};
    }
    if (!scan.damage && !scan.tornBytes && scan.units == *scan.counted) return std::nullopt;

    RepairedContents repaired;
    repaired.bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(scan.end));
    logfile::EncodeFileHeader(repaired.bytes.data(), static_cast<std::uint32_t>(scan.units));
    repaired.kept = scan.units;
    repaired.damage = WhatIsWrong(scan);
    return repaired;
}

MonthFileRepair RepairLogFile(const std::string& path) {
    bool notALog = false;
    MonthFileRepair repair = RepairMonthFile(path, [&notALog](const std::vector<std::uint8_t>& bytes) {
        return RepairedLogFile(bytes, notALog);
    });
    if (notALog) throw LogFileNotALog{path};
    return repair;
}
