#pragma once
// Repairing a damaged monthly log file: every whole block before the damage is kept, counted in
// the new file's header; what follows is dropped from the month file and stays in the damaged
// copy kept beside it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "module/MonthFileRepair.h"

// What a repair of `bytes` keeps; nothing when they are a whole log file, with the header
// counting every block. Nothing either when the header's mark is wrong: such a file is not a
// log file, and no block of it can be told from foreign bytes (`notALog` is then set).
std::optional<RepairedContents> RepairedLogFile(std::span<const std::uint8_t> bytes, bool& notALog);

// Repairs the log file at `path` (see RepairMonthFile). Raises CFileException when it cannot be
// done, and LogFileNotALog for a file whose header mark is wrong.
MonthFileRepair RepairLogFile(const std::string& path);

struct LogFileNotALog {
    std::string path;
};
