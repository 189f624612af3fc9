#pragma once
// The one rule of every month-file family for what a writer killed in its append can leave, and
// the scanner of whole units that applies it. An append writes its unit after the last whole one,
// then (where the family has a header) the header counting it. Killed on the way, it leaves bytes
// after the last whole unit, or one whole unit the header does not count yet; nothing else. So a
// writer may cut those bytes and count that unit in, but only where the file's own counts agree
// with them; anything else is damage, reported as data (path, offset, reason), never thrown.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "module/MonthFileUnits.h"
#include "platform/core/CFile.h"

struct MonthFileDamage {
    std::string path;
    std::uint64_t offset = 0;
    std::string reason;
};

// "PATH: damaged at offset N: REASON", for messages.
std::string DescribeDamage(const MonthFileDamage& damage);

enum class ScanRule {
    writer,  // under the file's lock: at most one append can be unfinished
    reader,  // without it: any number of appends may be on their way after the header was read
};

struct MonthFileScan {
    std::optional<std::uint32_t> counted;  // what the header counts (families with a header)
    std::uint64_t units = 0;               // whole units from the start
    std::uint64_t end = 0;                 // after the last whole unit (after the header when none)
    std::uint64_t tornBytes = 0;           // after `end`: part of a unit an append left, to be cut
    std::uint64_t length = 0;              // the file's length the scan went by
    std::optional<MonthFileDamage> damage;
};

// Where a scan starts: the file's start, or after units already scanned.
struct ScanFrom {
    std::uint64_t offset = 0;
    std::uint64_t units = 0;
};

// Scans a month file of `length` bytes: `header` holds its header (nullptr when the family has
// none or the file is shorter), `in` the file's bytes from `from.offset` on.
MonthFileScan ScanMonthFile(const MonthFileUnits& family, const std::string& path, const std::uint8_t* header,
                            ByteStream& in, std::uint64_t length, ScanFrom from, ScanRule rule);
// The same over a whole file in memory.
MonthFileScan ScanMonthBytes(const MonthFileUnits& family, const std::string& path,
                             std::span<const std::uint8_t> bytes, ScanRule rule);

// Scans the open month file `file` from `from` as one look of a reader: its header is read before
// its length is taken, so that an append on its way never looks like damage.
MonthFileScan ScanOpenMonthFile(CFile& file, const MonthFileUnits& family, const std::string& path, ScanFrom from);

// The bytes of the month file at `path` as one look of a reader: its header read first and its
// length taken after, so that an append on its way never looks like damage. Only a plain file is
// read: a symlink, a FIFO or a device is refused at once, never waited on. Nothing (with the
// system's reason in `why`) when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadMonthFile(const std::string& path, std::size_t headerSize,
                                                       std::string& why);
