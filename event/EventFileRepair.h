#pragma once
// Repairing a damaged monthly event file: every record that carries its mark is kept, those before
// and those after records without one; the records without a mark and a record cut off at the end
// are dropped from the month file and stay in the damaged copy kept beside it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "module/MonthFileRepair.h"

// What a repair of `bytes` keeps; nothing when they are whole records that all carry their mark.
std::optional<RepairedContents> RepairedEventFile(std::span<const std::uint8_t> bytes);

// Repairs the event file at `path` (see RepairMonthFile); raises CFileException when it cannot.
MonthFileRepair RepairEventFile(const std::string& path);
