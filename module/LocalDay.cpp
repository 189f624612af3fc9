#include "module/LocalDay.h"

#include <cstdio>
#include <cstring>
#include <ctime>

DWORD LocalMidnight(int year, int month, int day) { return static_cast<DWORD>(LocalMidnightSeconds(year, month, day)); }

std::int64_t LocalMidnightSeconds(int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

LocalDay DayStartingAt(DWORD midnight) {
    const CTime day(midnight);
    char label[4];
    std::snprintf(label, sizeof label, "%02d", day.GetDay() % 100);
    // Calendar arithmetic, not 86400 seconds: the next day's midnight, whatever the day's length.
    return {label, midnight, static_cast<std::uint64_t>(LocalMidnightSeconds(day.GetYear(), day.GetMonth(), day.GetDay() + 1))};
}

int DateSortArray(const void* a, const void* b) {
    DWORD left = 0, right = 0;
    std::memcpy(&left, a, sizeof left);
    std::memcpy(&right, b, sizeof right);
    return left > right ? -1 : (left < right ? 1 : 0);
}
