#pragma once
// The journal's cursor as text: which month file, where in it, and which unit, so that a reader
// can resume after that unit even when the file was repaired or replaced since:
// "v1;f=200503.log;o=12345;t=1110000000;h=<hash of the unit's bytes, hex>;n=<same-second ordinal>"
// and, where known, ";e=<offset>": the units of the month before that offset were in time order
// when the unit was given, and those from it on follow them in file order, whatever their times.
// A cursor given while appends to an earlier month were being given ends in
// ";d=200502.log@<offset>": that month's units from the offset on are still to be given first.
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
    std::optional<std::uint64_t> sortedEnd;  // e=; nothing in a cursor that predates it
    struct Detour {
        std::string file;
        std::uint64_t from = 0;
    };
    std::optional<Detour> detour;  // d=

    std::string Text() const;
    // Nothing for a text that is not a cursor, or names no month file of the folder's kind.
    static std::optional<JournalCursor> Parse(std::string_view text);
};

// FNV-1a (64 bits) of a unit's bytes, the `skipSize` bytes at `skipOffset` taken as zeros: the
// checksum the library has, CRC-32, belongs to the encryption layer, which month-file code may
// not use.
std::uint64_t UnitHash(std::span<const std::uint8_t> bytes, std::size_t skipOffset = 0, std::size_t skipSize = 0);
