#include "log2/LogMonthData.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "platform/core/ByteStream.h"
#include "platform/core/CFile.h"
#include "platform/core/CTime.h"
#include "platform/core/FileSystem.h"

namespace {

constexpr size_t kMonthFileNameLength = 10;  // "YYYYMM.log"

int Descending(std::uint64_t a, std::uint64_t b) { return a > b ? -1 : (a < b ? 1 : 0); }

DWORD LocalMidnight(int year, int month, int day) { return CTime(year, month, day, 0, 0, 0).GetTime(); }

}  // namespace

int FileSortArray(const void* a, const void* b) {
    // atoi of the first six characters, as a C string of at most six characters.
    char left[7] = {}, right[7] = {};
    std::strncpy(left, static_cast<const char*>(a), 6);
    std::strncpy(right, static_cast<const char*>(b), 6);
    return Descending(static_cast<std::uint64_t>(std::atoi(left)), static_cast<std::uint64_t>(std::atoi(right)));
}

int DateSortArray(const void* a, const void* b) {
    DWORD left = 0, right = 0;
    std::memcpy(&left, a, sizeof left);
    std::memcpy(&right, b, sizeof right);
    return Descending(left, right);
}

std::vector<LogMonthFile> FindLogMonthFiles(const std::string& folder) {
    std::vector<std::string> names;
    CFileFind find;
    BOOL more = find.FindFile((folder + "/*." + logfile::kExtension).c_str());
    while (more) {
        more = find.FindNextFile();
        if (find.GetFileName().size() == kMonthFileNameLength) names.push_back(find.GetFileName());
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return FileSortArray(a.c_str(), b.c_str()) < 0;
    });
    std::vector<LogMonthFile> months;
    for (const std::string& name : names)
        months.push_back({name, name.substr(0, 4) + "-" + name.substr(4, 2), std::atoi(name.substr(0, 4).c_str()),
                          std::atoi(name.substr(4, 2).c_str())});
    return months;
}

LogDay DayStartingAt(DWORD midnight) {
    const CTime day(midnight);
    char label[4];
    std::snprintf(label, sizeof label, "%02d", day.GetDay());
    return {label, midnight, LocalMidnight(day.GetYear(), day.GetMonth(), day.GetDay() + 1)};
}

int TypeGroupOf(BYTE type) {
    if (type == 0) return -1;
    return std::min<int>(type, kTypeGroupCount) - 1;
}

std::array<std::string, kTypeLabelCount> LoadTypeLabels() {
    std::array<std::string, kTypeLabelCount> labels;
    for (int i = 0; i < kTypeLabelCount - 1; ++i) {
        CString text;
        text.LoadString(7799 + static_cast<UINT>(i));
        labels[i] = text.str().substr(0, 31);
    }
    labels[kTypeLabelCount - 1] = "Error";
    return labels;
}

int TypeGroupLabel(int group) {
    static constexpr int kLabels[kTypeGroupCount] = {0, 1, 2, 0, 1, 2, 4, 5};
    return kLabels[group];
}

bool IsNetworkGroup(int group) { return group >= 3 && group <= 5; }

void CLogMonthData::Clear() {
    m_arrLogEntry.RemoveAll();
    m_arrRecord.RemoveAll();
    m_loaded = false;
}

LogMonthLoad CLogMonthData::Load(const std::string& folder, int year, int month) {
    Clear();
    m_year = year;
    m_month = month;
    char name[16];
    std::snprintf(name, sizeof name, "/%04d%02d.", year % 10000, month % 100);
    CFile file;
    if (!file.Open((folder + name + logfile::kExtension).c_str(), CFile::modeRead | CFile::typeBinary))
        return LogMonthLoad::notOpened;

    ByteStream in(file);
    LogFileReader reader(in);
    if (reader.ReadFileHeader()) return LogMonthLoad::notALog;
    LogMonthLoad result = LogMonthLoad::loaded;
    for (std::uint32_t i = 0; i < reader.BlockCount(); ++i) {
        _LOG_HEADER_MEMORY_ entry{};
        entry.firstRecord = static_cast<DWORD>(m_arrRecord.GetSize());
        const auto damage = reader.ReadBlock(i, entry.header, [this](const _LOG_RECORD_MEMORY_& r) { m_arrRecord.Add(r); });
        if (damage) {
            // The records of a block whose tail mark was not read are never shown.
            m_arrRecord.SetSize(static_cast<int>(entry.firstRecord));
            if (!damage->cutShort) {
                Clear();
                return LogMonthLoad::damaged;
            }
            result = LogMonthLoad::cutShort;
            break;
        }
        m_arrLogEntry.Add(entry);
    }
    std::stable_sort(m_arrLogEntry.begin(), m_arrLogEntry.end(),
                     [](const _LOG_HEADER_MEMORY_& a, const _LOG_HEADER_MEMORY_& b) { return DateSortArray(&a, &b) < 0; });
    m_loaded = true;
    return result;
}

std::vector<LogDay> CLogMonthData::Days() const {
    std::vector<LogDay> days;
    for (const _LOG_HEADER_MEMORY_& log : m_arrLogEntry) {
        // Calendar arithmetic, not 86400 seconds: a day with a daylight-saving change is 23 or
        // 25 hours long, and its logs must all be listed under it, and only under it.
        const LogDay day = DayStartingAt(LocalMidnight(m_year, m_month, CTime(log.header.handle).GetDay()));
        if (days.empty() || days.back().label != day.label) days.push_back(day);
    }
    return days;
}

LogDayGroups CLogMonthData::GroupDay(const LogDay& day) const {
    LogDayGroups groups;
    for (int i = 0; i < m_arrLogEntry.GetSize(); ++i) {
        const _LOG_HEADER_& h = m_arrLogEntry[i].header;
        const int group = TypeGroupOf(h.type);
        if (group >= 0 && h.handle >= day.midnight && h.handle < day.end) groups.logs[group].push_back(i);
    }
    return groups;
}

const _LOG_HEADER_MEMORY_* CLogMonthData::FindLog(DWORD handle) const {
    const auto it = std::find_if(m_arrLogEntry.begin(), m_arrLogEntry.end(),
                                 [handle](const _LOG_HEADER_MEMORY_& log) { return log.header.handle == handle; });
    return it == m_arrLogEntry.end() ? nullptr : it;
}
