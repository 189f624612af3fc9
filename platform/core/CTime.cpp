#include "platform/core/CTime.h"

#include <atomic>

namespace {

DWORD SystemClock() { return static_cast<DWORD>(std::time(nullptr)); }

std::atomic<CTime::Clock> g_clock{&SystemClock};

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = dst;
    m_time = static_cast<DWORD>(std::mktime(&tm));
}

CTime CTime::GetCurrentTime() { return CTime(g_clock.load()()); }

void CTime::SetClock(Clock clock) { g_clock.store(clock ? clock : &SystemClock); }

std::tm CTime::GetLocalTm() const {
    const std::time_t t = static_cast<std::time_t>(m_time);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

CString CTime::Format(const char* format) const {
    const std::tm tm = GetLocalTm();
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return CString(std::string_view(buffer, n));
}
