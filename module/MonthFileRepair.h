#pragma once
// Repairing a damaged month file of a log family: what comes before the damage is kept in a new
// file that replaces the old one, and the damaged file is kept beside it, so that nothing is lost
// that a person might still want to look at. The repair holds the writers' lock on the file, so
// no append is lost to it: a writer waits, then finds the new file by its name.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What a family makes of a month file's bytes: the repaired contents and what was wrong, or
// nothing when the file is whole.
struct RepairedContents {
    std::vector<std::uint8_t> bytes;
    std::uint64_t kept = 0;  // blocks or records kept
    std::string damage;      // what was wrong, for messages
};
using RepairRule = std::function<std::optional<RepairedContents>(const std::vector<std::uint8_t>& bytes)>;

struct MonthFileRepair {
    bool repaired = false;      // false: the file was whole and is left alone
    std::uint64_t kept = 0;     // blocks or records kept
    std::uint64_t dropped = 0;  // bytes of the old file not kept
    std::string damage;
    std::string damagedCopy;    // the name the damaged file is kept under
};

// Repairs the plain file at `path` by `rule`. Raises CFileException if the file cannot be opened,
// read or replaced; it is then left as it was.
MonthFileRepair RepairMonthFile(const std::string& path, const RepairRule& rule);
