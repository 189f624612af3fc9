#include "event/EventFileReader.h"

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
