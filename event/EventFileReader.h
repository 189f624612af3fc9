#pragma once
// Reading a monthly event file back: every whole 36-byte record with its validity (its mark).
#include <cstdint>
#include <span>
#include <vector>

#include "event/EventRecord.h"
#include "module/MonthFileUnits.h"

struct EventFileEntry {
    std::uint64_t offset = 0;
    _EVENT_LOG_ event{};
    bool valid = false;  // the record's last byte is the mark
};

struct EventFileContents {
    std::vector<EventFileEntry> records;
    std::uint64_t trailingBytes = 0;  // a cut-off record at the end, never used
};

EventFileContents ParseEventFile(std::span<const std::uint8_t> bytes);

// The monthly event file as the month-file engine scans and appends it: 36-byte records and no
// header. A whole record is part of the file whatever its mark (earlier recorders left records
// without one); bytes after the last whole record are the start of one only while its reserved
// bytes, as far as they go, are zero.
const MonthFileUnits& EventFileUnits();
// The same family, handing each whole record (marked or not) to `onRecord` as the scan reads it.
MonthFileUnits EventFileUnitsReading(OnWholeUnit onRecord);
