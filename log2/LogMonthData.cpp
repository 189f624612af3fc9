#include "log2/LogMonthData.h"

#include <algorithm>

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "platform/core/ByteStream.h"
#include "platform/core/CFile.h"

void CLogMonthData::Clear() {
    m_arrLogEntry.RemoveAll();
    m_arrRecord.RemoveAll();
    m_loaded = false;
}

LogMonthLoad CLogMonthData::Load(const std::string& folder, YearMonth month) {
    Clear();
    m_month = month;
    CFile file;
    // A symlink or a FIFO planted in the folder is not read: a FIFO would stall the browser.
    if (!file.Open(MonthFilePath(folder, month, logfile::kExtension).c_str(),
                   CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary))
        return LogMonthLoad::notOpened;

    // The header is read before the length is taken: every block it counts is then in the file,
    // and an append on its way never looks like damage.
    std::uint8_t header[logfile::kFileHeaderSize];
    if (file.ReadAt(0, header, sizeof header) != sizeof header) return LogMonthLoad::notALog;
    file.Seek(sizeof header, CFile::begin);
    ByteStream in(file);
    LogFileReader reader(in);
    if (reader.UseFileHeader(header)) return LogMonthLoad::notALog;
    for (std::uint32_t i = 0; i < reader.BlockCount(); ++i) {
        _LOG_HEADER_MEMORY_ entry{};
        entry.firstRecord = static_cast<DWORD>(m_arrRecord.GetSize());
        if (reader.ReadBlock(i, entry.header, [this](const _LOG_RECORD_MEMORY_& r) { m_arrRecord.Add(r); })) {
            // A counted block that is not whole: no killed append leaves that.
            Clear();
            return LogMonthLoad::damaged;
        }
        m_arrLogEntry.Add(entry);
    }
    // After the counted blocks: appends on their way, or part of one that a killed writer left.
    const WholeBlocks rest = ReadWholeBlocks(in, reader.BlockCount());
    if (rest.damage && !rest.damage->cutShort) {
        Clear();
        return LogMonthLoad::damaged;
    }
    std::stable_sort(m_arrLogEntry.begin(), m_arrLogEntry.end(),
                     [](const _LOG_HEADER_MEMORY_& a, const _LOG_HEADER_MEMORY_& b) { return DateSortArray(&a, &b) < 0; });
    m_loaded = true;
    return rest.damage ? LogMonthLoad::cutShort : LogMonthLoad::loaded;
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
