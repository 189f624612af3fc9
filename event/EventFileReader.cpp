#include "event/EventFileReader.h"

#include <algorithm>

#include "module/MonthFileScan.h"

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
    contents.records.reserve(bytes.size() / eventfile::kRecordSize);
    const MonthFileUnits reading = EventFileUnitsReading([&contents](const std::uint8_t* record, const UnitAt& at) {
        EventFileEntry entry{at.start, eventfile::DecodeEvent(record), false};
        entry.valid = entry.event.mark == eventfile::kMark;
        contents.records.push_back(entry);
    });
    const MonthFileScan scan = ScanMonthBytes(reading, "", bytes, ScanRule::reader);
    contents.trailingBytes = bytes.size() - scan.end;
    return contents;
}

MonthFileUnits EventFileUnitsReading(OnWholeUnit onRecord) {
    return MonthFileUnits{
        "event file", "record", 0, {}, {},
        [onRecord = std::move(onRecord)](ByteStream& in, const UnitAt& at) {
            return ReadFixedUnit(in, at, eventfile::kRecordSize, NotAnEventRecord, onRecord);
        },
    };
}

const MonthFileUnits& EventFileUnits() {
    static const MonthFileUnits units = EventFileUnitsReading(nullptr);
    return units;
}
