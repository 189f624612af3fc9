#pragma once
// Local date and time texts of many times, as strftime writes them from localtime_r, without a
// look-up of the time zone for each: the zone's offset from UTC is looked up at both ends of an
// hour of UTC, and where the two agree it holds for every second between them (no zone changes
// its offset twice within an hour). The date's text is kept for the day it was made for. A
// month's text shows two times for each of its logs.
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
    static constexpr std::size_t kDateSize = 11;  // "YYYY-MM-DD "

    // The local date's text (kDateSize characters) and the second of the local day of `time`.
    struct Local {
        const char* date;
        int second;
    };
    Local ToLocal(DWORD time);

    std::int64_t m_hour = -1;        // the hour of UTC (time / 3600) whose offset is kept; -1 for none
    bool m_oneOffset = false;        // whether that hour has one offset throughout
    long m_offset = 0;               // its offset in seconds
    std::int64_t m_day = INT64_MIN;  // the local day (days since 1970) whose date's text is kept
    char m_date[kDateSize];
    char m_otherDate[kDateSize];     // the date of a time in an hour with two offsets
};
