#include "event/EventMonthData.h"

#include <algorithm>
#include <map>

#include "event/EventFileReader.h"
#include "module/MonthFileScan.h"
#include "platform/core/CFile.h"

size_t EventDayGroups::Count(int group) const {
    size_t count = 0;
    for (const EventChannel& c : channels[group]) count += c.events.size();
    return count;
}

void CEventMonthData::Clear() {
    m_arrEvent.RemoveAll();
    m_badMarks = m_partialBytes = 0;
}

EventMonthLoad CEventMonthData::Load(const std::string& folder, YearMonth month) {
    Clear();
    m_month = month;
    const std::string path = MonthFilePath(folder, month, eventfile::kExtension);
    CFile file;
    // A symlink or a FIFO planted in the folder is not read: a FIFO would stall the browser.
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary))
        return EventMonthLoad::notOpened;
    // Sized once for every whole record, so that a large month needs no room beyond its events.
    m_arrEvent.SetSize(static_cast<int>(std::min<std::uint64_t>(file.GetLength() / eventfile::kRecordSize, INT32_MAX)));
    int kept = 0;
    const MonthFileUnits reading = EventFileUnitsReading([this, &kept](const std::uint8_t* record, const UnitAt&) {
        // A bad mark costs only its own record: the others are whole records in their places.
        if (record[eventfile::kMarkOffset] != eventfile::kMark) ++m_badMarks;
        else if (kept < m_arrEvent.GetSize()) m_arrEvent[kept++] = eventfile::DecodeEvent(record);
    });
    // One look: a record appended meanwhile is not read, and one still being written shows as a
    // partial record at the end.
    const MonthFileScan scan = ScanOpenMonthFile(file, reading, path, {});
    m_arrEvent.SetSize(kept);
    m_partialBytes = scan.length - scan.end;
    OrderLatestFirst(m_arrEvent);
    return m_partialBytes ? EventMonthLoad::partialRecord : EventMonthLoad::loaded;
}

std::vector<LocalDay> CEventMonthData::Days() const {
    return DayList(m_arrEvent, m_month.year, m_month.month, [](const _EVENT_LOG_& e) { return e.time; });
}

EventDayGroups CEventMonthData::GroupDay(const LocalDay& day) const {
    std::array<std::map<DWORD, std::vector<int>>, kEventGroupCount> byChannel;
    for (int i = 0; i < m_arrEvent.GetSize(); ++i) {
        const _EVENT_LOG_& e = m_arrEvent[i];
        if (day.Holds(e.time)) byChannel[EventGroupOf(e.source)][e.channel].push_back(i);
    }
    EventDayGroups groups;
    for (int g = 0; g < kEventGroupCount; ++g)
        for (auto& [channel, events] : byChannel[g]) groups.channels[g].push_back({channel, std::move(events)});
    return groups;
}
