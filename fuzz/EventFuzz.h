#pragma once
// The seed of the event file's fuzz targets: a month file the writer's record encoding makes,
// with events of every source and both sides over three days, and a month cut inside a record.
#include <cstdio>
#include <cstdint>
#include <vector>

#include "event/EventRecord.h"

namespace eventfuzz {

// April 2005; the events lie on the 1st, 2nd and 30th.
constexpr DWORD kFirstOfMonth = 1112313600;  // 2005-04-01 00:00 UTC

inline std::vector<std::vector<std::uint8_t>> Seeds() {
    constexpr DWORD kTimes[] = {kFirstOfMonth + 3600, kFirstOfMonth + 86400 + 7200, kFirstOfMonth + 29 * 86400 + 60};
    constexpr int kEvents = 9;
    std::vector<std::uint8_t> file(kEvents * eventfile::kRecordSize);
    for (int i = 0; i < kEvents; ++i) {
        _EVENT_LOG_ event{};
        event.time = kTimes[i % 3] + static_cast<DWORD>(i);
        event.channel = static_cast<DWORD>(1 + i * 3 % 17);
        event.actions = 0x15u << (i % 4);
        event.source = static_cast<BYTE>(i % 3);  // the third is neither camera nor sensor
        event.side = static_cast<BYTE>(1 + i % 2);
        std::snprintf(event.text, sizeof event.text, "door %d", i);
        event.mark = eventfile::kMark;
        eventfile::EncodeEvent(file.data() + static_cast<size_t>(i) * eventfile::kRecordSize, event);
    }
    std::vector<std::uint8_t> cut(file.begin(), file.begin() + 2 * eventfile::kRecordSize + 20);
    return {file, cut};
}

}  // namespace eventfuzz
