#include "platform/core/LocalTimeTexts.h"

#include <cstring>
#include <ctime>

namespace {

long OffsetAt(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

// Writes `value` (0 to 99) as two digits.
char* TwoDigits(char* out, int value) {
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
}

// "YYYY-MM-DD " into `out`.
void WriteDate(char* out, int year, int month, int day) {
    char* p = TwoDigits(TwoDigits(out, year / 100 % 100), year % 100);
    *p++ = '-';
    p = TwoDigits(p, month);
    *p++ = '-';
    p = TwoDigits(p, day);
    *p = ' ';
}

// The civil date of a count of days since 1970-01-01 (proleptic Gregorian calendar), as text.
void WriteCivilDate(char* out, std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    WriteDate(out, static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day);
}

}  // namespace

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
        WriteDate(m_otherDate, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
        return {m_otherDate, tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec};
    }
    const std::int64_t seconds = std::int64_t{time} + m_offset;
    const std::int64_t secondOfDay = ((seconds % 86400) + 86400) % 86400;
    const std::int64_t day = (seconds - secondOfDay) / 86400;
    if (day != m_day) {
        m_day = day;
        WriteCivilDate(m_date, day);
    }
    return {m_date, static_cast<int>(secondOfDay)};
}

std::size_t LocalTimeTexts::DateTime(char* out, DWORD time) {
    const Local local = ToLocal(time);
    std::memcpy(out, local.date, kDateSize);
    char* p = TwoDigits(out + kDateSize, local.second / 3600);
    *p++ = ':';
    p = TwoDigits(p, local.second / 60 % 60);
    *p++ = ':';
    p = TwoDigits(p, local.second % 60);
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

std::size_t LocalTimeTexts::DateHour(char* out, DWORD time) {
    const Local local = ToLocal(time);
    std::memcpy(out, local.date, kDateSize);
    char* p = TwoDigits(out + kDateSize, local.second / 3600);
    constexpr char kHour[] = " Hour";
    std::memcpy(p, kHour, sizeof kHour);
    return static_cast<std::size_t>(p - out) + sizeof kHour - 1;
}
