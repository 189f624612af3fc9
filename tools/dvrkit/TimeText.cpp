#include "tools/dvrkit/TimeText.h"

#include <cstdlib>

namespace {

void AppendDigits(std::string& out, long value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<size_t>(width));
}

void AppendDate(std::string& out, const tm& t, char between) {
    AppendDigits(out, t.tm_year + 1900L, 4);
    out += '-';
    AppendDigits(out, t.tm_mon + 1, 2);
    out += '-';
    AppendDigits(out, t.tm_mday, 2);
    out += between;
    AppendDigits(out, t.tm_hour, 2);
    out += ':';
    AppendDigits(out, t.tm_min, 2);
    out += ':';
    AppendDigits(out, t.tm_sec, 2);
}

}  // namespace

tm TimeTexts::Convert(std::int64_t time) const {
    const time_t t = static_cast<time_t>(time);
    tm fields{};
    if (m_utc) gmtime_r(&t, &fields);
    else localtime_r(&t, &fields);
    return fields;
}

tm TimeTexts::Fields(std::uint32_t time) {
    const std::int64_t minute = time / 60;
    if (minute != m_minute) {
        m_minute = minute;
        m_start = Convert(minute * 60);
        // A change of offset inside the minute, an offset with seconds or a leap second is rare
        // enough to be worked out for each second.
        const tm last = Convert(minute * 60 + 59);
        m_steady = m_start.tm_sec == 0 && last.tm_sec == 59 && last.tm_gmtoff == m_start.tm_gmtoff;
    }
    if (!m_steady) return Convert(time);
    tm fields = m_start;
    fields.tm_sec = static_cast<int>(time - minute * 60);
    return fields;
}

void TimeTexts::AppendPlain(std::string& out, std::uint32_t time) { AppendDate(out, Fields(time), ' '); }

void TimeTexts::AppendIso(std::string& out, std::uint32_t time) {
    const tm fields = Fields(time);
    AppendDate(out, fields, 'T');
    // As strftime's %z gives it, with a colon: whole minutes, the seconds of an old offset dropped.
    const long minutes = std::labs(fields.tm_gmtoff) / 60;
    out += fields.tm_gmtoff < 0 ? '-' : '+';
    AppendDigits(out, minutes / 60, 2);
    out += ':';
    AppendDigits(out, minutes % 60, 2);
}
