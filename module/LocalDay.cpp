#include "module/LocalDay.h"

#include <cstdio>
#include <cstring>

DWORD LocalMidnight(int year, int month, int day) { return CTime(year, month, day, 0, 0, 0).GetTime(); }

LocalDay DayStartingAt(DWORD midnight) {
    const CTime day(midnight);
    char label[4];
    std::snprintf(label, sizeof label, "%02d", day.GetDay() % 100);
    // Calendar arithmetic, not 86400 seconds: the next day's midnight, whatever the day's length.
    return {label, midnight, LocalMidnight(day.GetYear(), day.GetMonth(), day.GetDay() + 1)};
}

int DateSortArray(const void* a, const void* b) {
    DWORD left = 0, right = 0;
    std::memcpy(&left, a, sizeof left);
    std::memcpy(&right, b, sizeof right);
    return left > right ? -1 : (left < right ? 1 : 0);
}
