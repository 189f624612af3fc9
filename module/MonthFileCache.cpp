#include "module/MonthFileCache.h"

#include <ctime>

#include "module/MonthFile.h"
#include "platform/core/CTime.h"

namespace {

std::int64_t LocalMidnightOfFirst(int year, int month) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;  // mktime carries month 12 into the next year
    tm.tm_mday = 1;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

}  // namespace

const CString& MonthFileCache::Name(const std::string& folder, DWORD time) {
    if (time >= m_start && time < m_end && folder == m_folder) return m_name;
    const std::tm local = CTime(time).GetLocalTm();
    m_start = LocalMidnightOfFirst(local.tm_year + 1900, local.tm_mon + 1);
    m_end = LocalMidnightOfFirst(local.tm_year + 1900, local.tm_mon + 2);
    m_folder = folder;
    m_name = MonthFileName(folder.c_str(), time, m_extension);
    return m_name;
}
