#include "log1/EntryMonthData.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/ByteStream.h"
#include "platform/core/CFile.h"
#include "platform/core/FileReplace.h"
#include "platform/core/FileSystem.h"

namespace {

// Records written per write call by MemorySave.
constexpr size_t kSaveBatch = 512;

std::unique_ptr<CFile> MakeFile(const FileFactory& makeFile) { return makeFile ? makeFile() : std::make_unique<CFile>(); }

}  // namespace

std::vector<MonthFileEntry> CEntryMonthData::Months() const { return FindMonthFiles(m_folder, entryfile::kExtension); }

std::string CEntryMonthData::MonthPath(YearMonth month) const {
    return MonthFilePath(m_folder, month, entryfile::kExtension);
}

void CEntryMonthData::Clear() { m_arrRecord.RemoveAll(); }

EntryMonthLoad CEntryMonthData::Load(YearMonth month) {
    Clear();
    m_month = month;
    CFile file;
    // A symlink or a FIFO planted in the folder is not read: a FIFO would stall the browser.
    if (!file.Open(MonthPath(month).c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary))
        return EntryMonthLoad::notOpened;
    // The length is taken once: an entry appended meanwhile is not read, and one still being
    // written shows as a torn tail.
    ByteStream in(file);
    const std::uint64_t whole = in.Remaining() / entryfile::kRecordSize;
    const bool torn = in.Remaining() % entryfile::kRecordSize != 0;
    // Sized once for every whole record, so that a large month needs no room beyond its entries.
    m_arrRecord.SetSize(static_cast<int>(std::min<std::uint64_t>(whole, INT32_MAX)));
    int kept = 0;
    for (int i = 0; i < m_arrRecord.GetSize(); ++i) {
        const std::uint8_t* record = in.Take(entryfile::kRecordSize);
        if (!record) break;  // the file shrank meanwhile
        const _LOG_RECORD_V1_ entry = entryfile::DecodeEntry(record);
        if (entry.type < entryfile::kTypeCount) m_arrRecord[kept++] = entry;
    }
    m_arrRecord.SetSize(kept);
    OrderLatestFirst(m_arrRecord);
    return torn ? EntryMonthLoad::badLength : EntryMonthLoad::loaded;
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

int CEntryMonthData::MemorySearchType(DWORD type) const {
    return static_cast<int>(std::count_if(m_arrRecord.begin(), m_arrRecord.end(),
                                          [type](const CLogRecordItem& e) { return e.type == type; }));
}

int CEntryMonthData::MemorySearchTime(DWORD from, DWORD to) const {
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
    return gone;
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteTime(DWORD time) {
    return RemoveIf([time](const CLogRecordItem& e) { return e.time == time; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteTime(DWORD from, DWORD to) {
    return RemoveIf([=](const CLogRecordItem& e) { return e.time >= from && e.time < to; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteType(DWORD type) {
    return RemoveIf([type](const CLogRecordItem& e) { return e.type == type; });
}

std::vector<CLogRecordItem> CEntryMonthData::MemoryDeleteType(DWORD type, DWORD from, DWORD to) {
    return RemoveIf([=](const CLogRecordItem& e) { return e.type == type && e.time >= from && e.time < to; });
}

bool CEntryMonthData::MemorySave(DWORD time) const {
    if (m_folder.empty()) return false;
    const std::string path = MonthFileName(m_folder.c_str(), time, entryfile::kExtension).str();
    // Writers append under this lock; holding it across the rename makes an append wait, then
    // find the new file by its name and go there.
    const std::unique_ptr<CFile> old = MakeFile(m_makeFile);
    if (old->Open(path.c_str(), CFile::modeReadWrite | CFile::modeNoFollow | CFile::typeBinary)) old->LockExclusive();
    if (m_arrRecord.GetSize() == 0) return DeleteFileA(path.c_str()) || !FileExists(path.c_str());

    const std::unique_ptr<CFile> file = MakeFile(m_makeFile);
    PendingFile temporary;
    if (!CreateBeside(temporary, *file, path)) return false;
    try {
        std::vector<std::uint8_t> batch(kSaveBatch * entryfile::kRecordSize);
        for (int first = 0; first < m_arrRecord.GetSize(); first += static_cast<int>(kSaveBatch)) {
            const int n = std::min(m_arrRecord.GetSize() - first, static_cast<int>(kSaveBatch));
            for (int i = 0; i < n; ++i)
                entryfile::EncodeEntry(batch.data() + i * entryfile::kRecordSize, m_arrRecord[first + i]);
            file->Write(batch.data(), static_cast<UINT>(n * entryfile::kRecordSize));
        }
        file->Close();
    } catch (const CFileException&) {
        file->Abort();
        return false;
    }
    return temporary.PutInPlace();
}

std::optional<std::vector<CLogRecordItem>> CEntryMonthData::DeleteDay(const LocalDay& day, std::optional<DWORD> type) {
    auto gone = type ? MemoryDeleteType(*type, day.midnight, day.end) : MemoryDeleteTime(day.midnight, day.end);
    if (!MemorySave(day.midnight)) return std::nullopt;
    return gone;
}

std::optional<std::vector<CLogRecordItem>> CEntryMonthData::DeleteSecond(DWORD time) {
    auto gone = MemoryDeleteTime(time);
    if (!MemorySave(time)) return std::nullopt;
    return gone;
}
