#pragma once
// Repairing a damaged monthly event file: every record before the first one without its mark is
// kept; what follows (and a record cut off at the end) is dropped from the month file and stays in
// the damaged copy kept beside it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "module/MonthFileRepair.h"

// What a repair of `bytes` keeps; nothing when they are whole records that all carry their mark.
std::optional<RepairedContents> RepairedEventFile(std::span<const std::uint8_t> bytes);

// Repairs the event file at `path` (see RepairMonthFile); raises CFileException when it cannot.
MonthFileRepair RepairEventFile(const std::string& path);
