#include "event/EventFileReader.h"

#include <algorithm>

namespace {

std::string NotAnEventRecord(const std::uint8_t* bytes, std::size_t available, const UnitAt&) {
    if (available == eventfile::kRecordSize) return {};
    using namespace eventfile;
    for (const std::size_t reserved : {kReservedOffset, kReservedOffset + 1, kReservedOffset + 2, kReservedOffset + 3,
                                       kReserved2Offset})
        if (reserved < available && bytes[reserved] != 0)
            return "the bytes after the last whole record are not the start of an event record: its reserved byte " +
                   std::to_string(reserved) + " is not zero";
    return {};
}

}  // namespace

EventFileContents ParseEventFile(std::span<const std::uint8_t> bytes) {
    EventFileContents contents;
    const size_t whole = bytes.size() / eventfile::kRecordSize;
    contents.records.reserve(whole);
    for (size_t i = 0; i < whole; ++i) {
        const std::uint8_t* at = bytes.data() + i * eventfile::kRecordSize;
        EventFileEntry entry;
        entry.offset = i * eventfile::kRecordSize;
        entry.event = eventfile::DecodeEvent(at);
        entry.valid = entry.event.mark == eventfile::kMark;
        contents.records.push_back(entry);
    }
    contents.trailingBytes = bytes.size() % eventfile::kRecordSize;
    return contents;
}

const MonthFileUnits& EventFileUnits() {
    static const MonthFileUnits units{
        "event file", "record", 0, {}, {},
        [](ByteStream& in, const UnitAt& at) { return ReadFixedUnit(in, at, eventfile::kRecordSize, NotAnEventRecord); },
    };
    return units;
}
