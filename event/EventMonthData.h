#pragma once
// The event browser's data, with no window in it: one month of events loaded into memory, latest
// first, its days, and the events of a day grouped by source and channel as the event tree shows
// them. The month files of the folder, the days' bounds and the ordering are the browsers' shared
// ones (module/). The browser window fills its trees from here; the tool and the tests use it
// directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "event/EventGroups.h"
#include "event/EventRecord.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "platform/core/CArray.h"

enum class EventMonthLoad {
    loaded,         // every record read
    partialRecord,  // the file ends in part of a record (a write cut short, a copy in progress):
                    // every whole record before it is loaded
    notOpened,      // no such file, or it cannot be read
};

struct EventChannel {
    DWORD channel = 0;
    std::vector<int> events;  // indices into Events(), latest first
};

struct EventDayGroups {
    // Per group of kEventGroups: the channels that have events that day, in channel order.
    std::array<std::vector<EventChannel>, kEventGroupCount> channels;

    size_t Count(int group) const;
};

class CEventMonthData {
public:
    // Loads "FOLDER/YYYYMM.evt", replacing what was loaded. Records whose mark is wrong are
    // skipped; the others end up latest first.
    EventMonthLoad Load(const std::string& folder, YearMonth month);
    // Empties the events and frees their storage.
    void Clear();

    YearMonth Month() const { return m_month; }
    const CArray<_EVENT_LOG_>& Events() const { return m_arrEvent; }
    // What the last load skipped: records with a wrong mark, and the bytes of a partial record at
    // the file's end.
    std::uint64_t BadMarks() const { return m_badMarks; }
    std::uint64_t PartialBytes() const { return m_partialBytes; }

    // The days with events, latest first, each once.
    std::vector<LocalDay> Days() const;
    // The events of the day, by group and channel.
    EventDayGroups GroupDay(const LocalDay& day) const;

private:
    CArray<_EVENT_LOG_> m_arrEvent;
    YearMonth m_month;
    std::uint64_t m_badMarks = 0, m_partialBytes = 0;
};
