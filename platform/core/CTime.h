#pragma once
// A point in time as unsigned 32-bit seconds since 1970-01-01 00:00 UTC. Every calendar view
// of it (year, month, day, hour, formatting) is local time through the C library, so the TZ
// environment variable decides the zone.
#include <ctime>

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CTime {
public:
    using Clock = DWORD (*)();

    CTime() = default;
    explicit CTime(DWORD seconds) : m_time(seconds) {}
    // A local date and time; `dst` < 0 lets the C library decide daylight saving time, as
    // mktime does. Fields out of range are normalised the same way.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    // The current time from the installed clock (the system clock unless a test set another).
    static CTime GetCurrentTime();
    // Installs the clock GetCurrentTime reads; nullptr restores the system clock.
    static void SetClock(Clock clock);

    DWORD GetTime() const { return m_time; }
    std::tm GetLocalTm() const;
    int GetYear() const { return GetLocalTm().tm_year + 1900; }
    int GetMonth() const { return GetLocalTm().tm_mon + 1; }
    int GetDay() const { return GetLocalTm().tm_mday; }
    int GetHour() const { return GetLocalTm().tm_hour; }
    int GetMinute() const { return GetLocalTm().tm_min; }
    int GetSecond() const { return GetLocalTm().tm_sec; }
    int GetDayOfWeek() const { return GetLocalTm().tm_wday + 1; }  // 1 is Sunday

    // strftime-style formatting in local time.
    CString Format(const char* format) const;

    friend auto operator<=>(const CTime&, const CTime&) = default;

private:
    DWORD m_time = 0;
};
