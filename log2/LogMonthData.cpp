#include "log2/LogMonthData.h"

#include <algorithm>

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "module/MonthFileScan.h"
#include "platform/core/CFile.h"

void CLogMonthData::Clear() {
    m_arrLogEntry.RemoveAll();
    m_arrRecord.RemoveAll();
    m_loaded = false;
}

LogMonthLoad CLogMonthData::Load(const std::string& folder, YearMonth month) {
    Clear();
    m_month = month;
    const std::string path = MonthFilePath(folder, month, logfile::kExtension);
    CFile file;
    // A symlink or a FIFO planted in the folder is not read: a FIFO would stall the browser.
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary))
        return LogMonthLoad::notOpened;

    // Whole blocks after the counted ones are appends on their way: they are shown once the
    // header counts them.
    const MonthFileUnits family = LogFileUnitsReading(
        [this](std::uint64_t, const _LOG_HEADER_& h, std::span<const _LOG_RECORD_MEMORY_> records) { Keep(h, records); });
    const MonthFileScan scan = ScanOpenMonthFile(file, family, path, {});
    if (!scan.counted) {
        Clear();
        return LogMonthLoad::notALog;
    }
    DropFrom(*scan.counted);
    if (scan.damage) {
        Clear();
        return LogMonthLoad::damaged;
    }
    std::stable_sort(m_arrLogEntry.begin(), m_arrLogEntry.end(),
                     [](const _LOG_HEADER_MEMORY_& a, const _LOG_HEADER_MEMORY_& b) { return DateSortArray(&a, &b) < 0; });
    m_loaded = true;
    return scan.tornBytes ? LogMonthLoad::cutShort : LogMonthLoad::loaded;
}

void CLogMonthData::DropFrom(std::uint32_t block) {
    if (block >= static_cast<std::uint32_t>(m_arrLogEntry.GetSize())) return;
    m_arrRecord.SetSize(static_cast<int>(m_arrLogEntry[static_cast<int>(block)].firstRecord));
    m_arrLogEntry.SetSize(static_cast<int>(block));
}

void CLogMonthData::Keep(const _LOG_HEADER_& header, std::span<const _LOG_RECORD_MEMORY_> records) {
    const int first = m_arrRecord.GetSize();
    m_arrRecord.SetSize(first + static_cast<int>(records.size()));
    std::copy(records.begin(), records.end(), m_arrRecord.begin() + first);
    m_arrLogEntry.Add({header, static_cast<DWORD>(first)});
}

std::vector<LocalDay> CLogMonthData::Days() const {
    return DayList(m_arrLogEntry, m_month.year, m_month.month,
                   [](const _LOG_HEADER_MEMORY_& log) { return log.header.handle; });
}

LogDayGroups CLogMonthData::GroupDay(const LocalDay& day) const {
    LogDayGroups groups;
    for (int i = 0; i < m_arrLogEntry.GetSize(); ++i) {
        const _LOG_HEADER_& h = m_arrLogEntry[i].header;
        const int group = TypeGroupOf(h.type);
        if (group >= 0 && day.Holds(h.handle)) groups.logs[group].push_back(i);
    }
    return groups;
}

const _LOG_HEADER_MEMORY_* CLogMonthData::FindLog(DWORD handle) const {
    const auto it = std::find_if(m_arrLogEntry.begin(), m_arrLogEntry.end(),
                                 [handle](const _LOG_HEADER_MEMORY_& log) { return log.header.handle == handle; });
    return it == m_arrLogEntry.end() ? nullptr : it;
}

const _LOG_HEADER_MEMORY_* CLogMonthData::LogAt(size_t place) const {
    return place < static_cast<size_t>(m_arrLogEntry.GetSize()) ? &m_arrLogEntry[static_cast<int>(place)] : nullptr;
}
