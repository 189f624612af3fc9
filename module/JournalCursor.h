#pragma once
// The journal's cursor as text: which month file, where in it, and which unit, so that a reader
// can resume after that unit even when the file was repaired or replaced since:
// "v1;f=200503.log;o=12345;t=1110000000;h=<hash of the unit's bytes, hex>;n=<same-second ordinal>".
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Types.h"

struct JournalCursor {
    std::string file;           // the month file's name, "200503.log"
    std::uint64_t offset = 0;   // the unit's offset in it
    DWORD time = 0;
    std::uint64_t hash = 0;     // UnitHash of the unit's bytes
    std::uint64_t ordinal = 0;  // how many units of the same second come before it in the month

    std::string Text() const;
    // Nothing for a text that is not a cursor, or names no month file of the folder's kind.
    static std::optional<JournalCursor> Parse(std::string_view text);
};

// FNV-1a (64 bits) of a unit's bytes: the checksum the library has, CRC-32, belongs to the
// encryption layer, which month-file code may not use.
std::uint64_t UnitHash(std::span<const std::uint8_t> bytes);
