#pragma once
// What a family of month files states of its files, for the engine that scans and appends them
// (MonthFileScan.h, MonthFileAppender.h): the header that counts the units, if the family has one,
// and how one unit is read. Which bytes a killed append can leave, and what is damage instead, is
// the engine's rule, the same for every family.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/core/ByteStream.h"

// Why one unit (or the header) could not be used.
struct UnitFault {
    std::uint64_t offset = 0;  // the first byte that could not be used, in the file
    std::string reason;        // e.g. "block 3 has a bad tail mark"
    bool cutShort = false;     // the data ended inside the unit, and what there is of it is of the family's kind
};

// Where a unit starts: its offset and index in the file, and the file's path (a family may take its
// month from the name).
struct UnitAt {
    std::uint64_t start = 0, index = 0;
    const std::string& path;
};

struct MonthFileUnits {
    const char* kind = "";        // "second-generation month file", for messages
    const char* unit = "";        // "block", for messages
    std::size_t headerSize = 0;   // bytes before the first unit; 0 for a file of units alone
    // The units that `header` (headerSize bytes) counts, or why it is not this family's header.
    std::function<std::optional<UnitFault>(const std::uint8_t* header, std::uint32_t& count)> readHeader;
    // Writes the header of a file of `count` units.
    std::function<void(std::uint8_t* out, std::uint32_t count)> writeHeader;
    // Reads the unit at `at` from `in`, consuming it when it is whole; what stopped it otherwise.
    std::function<std::optional<UnitFault>(ByteStream& in, const UnitAt& at)> readUnit;
};

// For families of fixed-size units: reads one unit of `size` bytes from `in`, checking the first
// unit, or what is left of a cut-off one, with `check` (a reason it is not of the family's kind,
// or empty; a whole unit past the first is part of the file as it stands), and handing a whole one
// to `onWhole`, if given: a reader loads a month in the one pass that checks it.
using UnitCheck = std::function<std::string(const std::uint8_t* bytes, std::size_t available, const UnitAt& at)>;
using OnWholeUnit = std::function<void(const std::uint8_t* bytes, const UnitAt& at)>;
std::optional<UnitFault> ReadFixedUnit(ByteStream& in, const UnitAt& at, std::size_t size, const UnitCheck& check,
                                       const OnWholeUnit& onWhole = {});
