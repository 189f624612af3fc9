#pragma once
// Calendar days in local time, as the browsers list them: a day runs from one local midnight to
// the next, so a day with a daylight-saving change is 23 or 25 hours long and holds exactly its
// own entries. Also the browsers' shared ordering of loaded entries, latest first.
#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/core/CTime.h"
#include "platform/core/Types.h"

struct LocalDay {
    std::string label;  // "%02d", the day of the month
    DWORD midnight = 0; // the local midnight that starts the day
    // The local midnight that starts the next day; for the day of the last second that stored
    // seconds hold (2106-02-07 06:28:15 UTC) it lies past them, hence 64 bits.
    std::uint64_t end = 0;

    bool Holds(DWORD time) const { return time >= midnight && time < end; }
    // The day's last second that stored seconds can hold.
    DWORD Last() const { return static_cast<DWORD>(std::min<std::uint64_t>(end - 1, UINT32_MAX)); }
};

// The local midnight that starts a day (daylight saving decided by the C library). Fields out of
// range are carried as mktime carries them (month 13 is the next year's January).
DWORD LocalMidnight(int year, int month, int day);
// The same in the C library's seconds, for bounds past the last second stored seconds hold.
std::int64_t LocalMidnightSeconds(int year, int month, int day);
// The local day that starts at `midnight`.
LocalDay DayStartingAt(DWORD midnight);

// The days of a month on which entries began, for entries sorted latest first: each entry's local
// day of the month (taken in `year` and `month`), each day once, in the entries' order.
// `timeOf` gives an entry's start time.
template <typename Entries, typename TimeOf>
std::vector<LocalDay> DayList(const Entries& sorted, int year, int month, TimeOf timeOf) {
    std::vector<LocalDay> days;
    for (const auto& entry : sorted) {
        const DWORD time = timeOf(entry);
        // Most entries fall in the day of the one before: no calendar look-up for them.
        if (!days.empty() && days.back().Holds(time)) continue;
        LocalDay day = DayStartingAt(LocalMidnight(year, month, CTime(time).GetDay()));
        if (days.empty() || days.back().label != day.label) days.push_back(std::move(day));
    }
    return days;
}

// qsort-shaped comparator of two loaded entries by their first u32 (their start time): latest
// first.
int DateSortArray(const void* a, const void* b);

// Puts entries loaded in file order latest first, by DateSortArray. Writers append in time
// order, so the file read backwards is nearly always in order already, with entries of one
// second in the reverse of their arrival; only a file out of order needs the sort, whose order
// among entries of one second is not defined.
template <typename Entries>
void OrderLatestFirst(Entries& entries) {
    using Entry = std::remove_cvref_t<decltype(*entries.begin())>;
    const auto latestFirst = [](const Entry& a, const Entry& b) { return DateSortArray(&a, &b) < 0; };
    std::reverse(entries.begin(), entries.end());
    if (!std::is_sorted(entries.begin(), entries.end(), latestFirst))
        std::sort(entries.begin(), entries.end(), latestFirst);
}
