#pragma once
// A month file as the reading commands take it: a plain file only (a FIFO would stall the
// command; "-" is standard input), its header read before its length, and judged by the
// month-file rule of its family. Damage ends the command with exit 2 naming the file, the offset
// and the reason; a file of the other log family, which names its files alike, is named as such.
#include <cstdint>
#include <string>
#include <vector>

#include "module/MonthFileScan.h"

struct MonthFileInput {
    std::vector<std::uint8_t> bytes;
    MonthFileScan scan;
};

// Reads and scans the month file at `path` with `family`'s rule; raises CommandError (exit 1) with
// the reason when it cannot be read, a FIFO or a symlink included.
MonthFileInput ReadMonthFileInput(const std::string& path, const MonthFileUnits& family);
// Raises CommandError (exit 2) when the scan found damage. When the bytes hold whole units of a
// `rival` family's kind instead, and nothing else, the message says so.
void RefuseDamage(const MonthFileInput& input, const MonthFileUnits& family, const MonthFileUnits* rival = nullptr);
