#pragma once
// Local date and time texts of many times, as strftime writes them from localtime_r, without a
// look-up of the time zone for each: the zone's offset from UTC is looked up at both ends of an
// hour of UTC, and where the two agree it holds for every second between them (no zone changes
// its offset twice within an hour). A month's text shows two times for each of its logs.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "platform/core/Types.h"

class LocalTimeTexts {
public:
    // Longest text written, with its terminating zero.
    static constexpr std::size_t kSize = 20;

    // "YYYY-MM-DD HH:MM:SS" of `time` into `out`, zero-terminated; returns its length (19).
    std::size_t DateTime(char* out, DWORD time);
    // "YYYY-MM-DD HH Hour" of `time` into `out`, zero-terminated; returns its length (18).
    std::size_t DateHour(char* out, DWORD time);

private:
    struct Local {
        int year, month, day, hour, minute, second;
    };
    struct Date {
        int year, month, day;
    };
    Local ToLocal(DWORD time);
    static Date CivilDate(std::int64_t daysSince1970);

    std::int64_t m_hour = -1;    // the hour of UTC (time / 3600) whose offset is kept; -1 for none
    bool m_oneOffset = false;    // whether that hour has one offset throughout
    long m_offset = 0;           // its offset in seconds
    std::int64_t m_day = INT64_MIN;  // the local day (days since 1970) whose date is kept
    Date m_date{};
};
