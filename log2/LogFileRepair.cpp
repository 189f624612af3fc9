#include "log2/LogFileRepair.h"

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "platform/core/ByteStream.h"

std::optional<RepairedContents> RepairedLogFile(std::span<const std::uint8_t> bytes, bool& notALog) {
    notALog = false;
    if (bytes.empty()) return std::nullopt;  // a new file, as a writer starts it
    ByteStream in(bytes);
    LogFileReader reader(in);
    if (const auto damage = reader.ReadFileHeader()) {
        notALog = !damage->cutShort;
        if (notALog) return std::nullopt;
        return RepairedContents{{}, 0, "the file is shorter than its 5-byte header"};
    }
    const WholeBlocks whole = ReadWholeBlocks(in, 0);
    if (!whole.damage && whole.count == reader.BlockCount()) return std::nullopt;

    RepairedContents repaired;
    repaired.bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(whole.end));
    logfile::EncodeFileHeader(repaired.bytes.data(), whole.count);
    repaired.kept = whole.count;
    repaired.damage = whole.damage ? "damaged at offset " + std::to_string(whole.damage->offset) + ": " +
                                         whole.damage->reason
                                   : "the header counts " + std::to_string(reader.BlockCount()) + " blocks, the file holds " +
                                         std::to_string(whole.count);
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
