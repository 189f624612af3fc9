#include "platform/core/LocalTimeTexts.h"

#include <ctime>

namespace {

long OffsetAt(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

// Writes `value` as `width` decimal digits, zero-padded.
char* Digits(char* out, int value, int width) {
    for (int i = width - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
    return out + width;
}

}  // namespace

// The civil date of a count of days since 1970-01-01 (proleptic Gregorian calendar).
LocalTimeTexts::Date LocalTimeTexts::CivilDate(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

LocalTimeTexts::Local LocalTimeTexts::ToLocal(DWORD time) {
    const std::int64_t hour = time / 3600;
    if (hour != m_hour) {
        m_hour = hour;
        m_offset = OffsetAt(hour * 3600);
        m_oneOffset = OffsetAt(hour * 3600 + 3599) == m_offset;
    }
    if (!m_oneOffset) {
        const std::time_t t = time;
        std::tm tm{};
        localtime_r(&t, &tm);
        return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
    const std::int64_t seconds = std::int64_t{time} + m_offset;
    const std::int64_t secondOfDay = ((seconds % 86400) + 86400) % 86400;
    const std::int64_t day = (seconds - secondOfDay) / 86400;
    if (day != m_day) {
        m_day = day;
        m_date = CivilDate(day);
    }
    return {m_date.year, m_date.month, m_date.day, static_cast<int>(secondOfDay / 3600),
            static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60)};
}

std::size_t LocalTimeTexts::DateTime(char* out, DWORD time) {
    const Local l = ToLocal(time);
    char* p = Digits(out, l.year, 4);
    *p++ = '-';
    p = Digits(p, l.month, 2);
    *p++ = '-';
    p = Digits(p, l.day, 2);
    *p++ = ' ';
    p = Digits(p, l.hour, 2);
    *p++ = ':';
    p = Digits(p, l.minute, 2);
    *p++ = ':';
    p = Digits(p, l.second, 2);
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

std::size_t LocalTimeTexts::DateHour(char* out, DWORD time) {
    // The same text up to the hour, then " Hour".
    DateTime(out, time);
    constexpr char kHour[] = " Hour";
    for (std::size_t i = 0; i < sizeof kHour; ++i) out[13 + i] = kHour[i];
    return 18;
}
