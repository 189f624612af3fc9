#include "log1/EntryMonthData.h"

#include <algorithm>
#include <cstring>

#include "log1/EntryRemoval.h"
#include "module/FixedText.h"
#include "log1/EntryFileUnits.h"
#include "module/MonthFileScan.h"
#include "platform/core/CFile.h"

std::vector<MonthFileEntry> CEntryMonthData::Months() const { return FindMonthFiles(m_folder, entryfile::kExtension); }

std::string CEntryMonthData::MonthPath(YearMonth month) const {
    return MonthFilePath(m_folder, month, entryfile::kExtension);
}

void CEntryMonthData::Clear() {
    m_arrRecord.RemoveAll();
    m_removed.clear();
}

EntryMonthLoad CEntryMonthData::Load(YearMonth month) {
    Clear();
    m_month = month;
    const std::string path = MonthPath(month);
    CFile file;
    // A symlink or a FIFO planted in the folder is not read: a FIFO would stall the browser.
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary))
        return EntryMonthLoad::notOpened;
    // Sized once for every whole record, so that a large month needs no room beyond its entries.
    m_arrRecord.SetSize(static_cast<int>(std::min<std::uint64_t>(file.GetLength() / entryfile::kRecordSize, INT32_MAX)));
    int kept = 0;
    const MonthFileUnits reading = EntryFileUnitsReading([this, &kept](const std::uint8_t* record, const UnitAt& at) {
        CLogRecordItem entry{entryfile::DecodeEntry(record)};
        entry.serial = static_cast<DWORD>(at.index) + 1;
        entry.offset = at.start;
        if (entry.type < entryfile::kTypeCount && kept < m_arrRecord.GetSize()) m_arrRecord[kept++] = entry;
    });
    // One look: an entry appended meanwhile is not read, and one still being written shows as a
    // torn tail.
    const MonthFileScan scan = ScanOpenMonthFile(file, reading, path, {});
    m_arrRecord.SetSize(kept);
    OrderLatestFirst(m_arrRecord);
    return scan.end == scan.length ? EntryMonthLoad::loaded : EntryMonthLoad::badLength;
}

std::vector<LocalDay> CEntryMonthData::Days() const {
    return DayList(m_arrRecord, m_month.year, m_month.month, [](const CLogRecordItem& e) { return e.time; });
}

EntryDayTypes CEntryMonthData::TypesOfDay(const LocalDay& day) const {
    EntryDayTypes types;
    for (int i = 0; i < m_arrRecord.GetSize(); ++i)
        if (day.Holds(m_arrRecord[i].time) && m_arrRecord[i].type < entryfile::kTypeCount)
            types[m_arrRecord[i].type].push_back(i);
    return types;
}

const CLogRecordItem* CEntryMonthData::Find(DWORD serial) const {
    const auto found = std::find_if(m_arrRecord.begin(), m_arrRecord.end(),
                                    [serial](const CLogRecordItem& e) { return e.serial == serial; });
    return found == m_arrRecord.end() ? nullptr : &*found;
}

std::vector<int> CEntryMonthData::EntriesAt(DWORD time, DWORD type, const char* name) const {
    std::vector<int> found;
    for (int i = 0; i < m_arrRecord.GetSize(); ++i) {
        const CLogRecordItem& e = m_arrRecord[i];
        if (e.time == time && e.type == type && (!name || ReadFixedText(e.name) == name)) found.push_back(i);
    }
    return found;
}

int CEntryMonthData::MemorySearchType(DWORD type) const {
    return static_cast<int>(std::count_if(m_arrRecord.begin(), m_arrRecord.end(),
                                          [type](const CLogRecordItem& e) { return e.type == type; }));
}

int CEntryMonthData::MemorySearchTime(DWORD from, std::uint64_t to) const {
    return std::any_of(m_arrRecord.begin(), m_arrRecord.end(),
                       [=](const CLogRecordItem& e) { return e.time >= from && e.time < to; })
               ? 1
               : 0;
}

template <typename Removed>
std::vector<CLogRecordItem> CEntryMonthData::RemoveIf(Removed removed) {
    std::vector<CLogRecordItem> gone;
    int kept = 0;
    for (int i = 0; i < m_arrRecord.GetSize(); ++i) {
        if (removed(m_arrRecord[i])) gone.push_back(m_arrRecord[i]);
        else m_arrRecord[kept++] = m_arrRecord[i];
    }
    m_arrRecord.SetSize(kept);
    m_removed.insert(m_removed.end(), gone.begin(), gone.end());
    return gone;
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteTime(DWORD time) {
    return RemoveIf([time](const CLogRecordItem& e) { return e.time == time; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteTime(DWORD from, std::uint64_t to) {
    return RemoveIf([=](const CLogRecordItem& e) { return e.time >= from && e.time < to; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteType(DWORD type) {
    return RemoveIf([type](const CLogRecordItem& e) { return e.type == type; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteType(DWORD type, DWORD from, std::uint64_t to) {
    return RemoveIf([=](const CLogRecordItem& e) { return e.type == type && e.time >= from && e.time < to; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteEntry(DWORD serial) {
    return RemoveIf([serial](const CLogRecordItem& e) { return e.serial == serial; });
}

bool CEntryMonthData::MemorySave(DWORD time) {
    if (m_folder.empty()) return false;
    if (m_removed.empty()) return true;
    const std::string path = MonthFileName(m_folder.c_str(), time, entryfile::kExtension).str();
    const auto removed = RemoveEntries(path, m_removed, m_makeFile);
    if (!removed) return false;
    MoveOffsets(*removed);
    m_removed.clear();
    return true;
}

void CEntryMonthData::MoveOffsets(const std::vector<bool>& removed) {
    std::vector<std::uint64_t> removedBefore(removed.size() + 1, 0);
    for (size_t i = 0; i < removed.size(); ++i) removedBefore[i + 1] = removedBefore[i] + (removed[i] ? 1 : 0);
    for (CLogRecordItem& e : m_arrRecord) {
        const std::uint64_t i = e.offset / entryfile::kRecordSize;
        if (i < removed.size()) e.offset -= removedBefore[i] * entryfile::kRecordSize;
    }
}

std::optional<std::vector<CLogRecordItem>> CEntryMonthData::DeleteDay(const LocalDay& day, std::optional<DWORD> type) {
    auto gone = type ? MemoryDeleteType(*type, day.midnight, day.end) : MemoryDeleteTime(day.midnight, day.end);
    if (!SaveMonth()) return std::nullopt;
    return gone;
}

std::optional<std::vector<CLogRecordItem>> CEntryMonthData::DeleteEntry(DWORD serial) {
    auto gone = MemoryDeleteEntry(serial);
    if (!SaveMonth()) return std::nullopt;
    return gone;
}
