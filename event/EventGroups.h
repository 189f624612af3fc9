#pragma once
// The event browser's event tree as data: a group per event source, a channel item per channel
// under it, and the events of a day under their channel. The browser window inserts its items
// from this table; the tool prints a day by walking it too.
#include <array>
#include <string>

#include "event/EventRecord.h"
#include "module/HostContract.h"

struct EventGroup {
    UINT label;           // host string
    int icon;             // place in the host's icon strip
    BYTE source;          // the source it holds; 0 for every source that is neither camera nor sensor
    bool inDefaultTree;   // shown before a day is chosen, with the standard channels under it
};

// The camera and sensor groups, then a group for events of any other source: a hand-made or
// foreign file may hold them, and a person must still see them. That group shows only when the
// chosen day has such events.
inline constexpr std::array<EventGroup, 3> kEventGroups = {{
    {host::kCameraGroupLabel, host::kCameraGroupIcon, kSourceCamera, true},
    {host::kSensorGroupLabel, host::kSensorGroupIcon, kSourceSensor, true},
    {host::kOtherGroupLabel, host::kOtherGroupIcon, 0, false},
}};
constexpr int kEventGroupCount = static_cast<int>(kEventGroups.size());

// The channels every default group lists; an event of another channel gets a channel item of its
// own under its group when its day is chosen.
constexpr DWORD kFirstChannel = 1, kLastChannel = 16;

// The group that holds events of `source`.
int EventGroupOf(BYTE source);
// "Ch03": a channel item's label.
std::string ChannelLabel(DWORD channel);
// "Camera (02)": a group or channel label with the count of the chosen day's events under it.
std::string CountedLabel(const std::string& label, size_t count);
