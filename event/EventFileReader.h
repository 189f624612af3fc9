#pragma once
// Reading a monthly event file back: every whole 36-byte record with its validity (its mark).
#include <cstdint>
#include <span>
#include <vector>

#include "event/EventRecord.h"

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
