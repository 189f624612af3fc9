// The monthly event file.
#include "event/EventFileReader.h"
#include "event/EventRecord.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseEventFile({data, size});
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    std::vector<std::uint8_t> file(3 * eventfile::kRecordSize);
    for (int i = 0; i < 3; ++i) {
        _EVENT_LOG_ event{};
        event.time = 1115028000 + static_cast<DWORD>(i);
        event.channel = static_cast<DWORD>(i + 1);
        event.source = 1;
        event.side = 1;
        event.mark = eventfile::kMark;
        eventfile::EncodeEvent(file.data() + i * eventfile::kRecordSize, event);
    }
    return {file};
}
