#pragma once
// The first-generation browser's data, with no window in it: the month files of a folder, one
// month of entries loaded into memory newest first, its days, the entries of a day by type, and
// the memory operations with which the browser (and the host) count, find and remove entries and
// write the month back. The month files of the folder, the days' bounds and the ordering are the
// browsers' shared ones (module/). The window fills its trees from here; the tool and the tests
// use it directly.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "log1/EntryRecord.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "platform/core/CArray.h"
#include "platform/core/KeptFile.h"

// A loaded entry: the stored record (its day is found from its time when the days are listed).
using CLogRecordItem = _LOG_RECORD_V1_;

enum class EntryMonthLoad {
    loaded,      // every record read
    badLength,   // the length is not a multiple of 168 (a write cut short): every whole record
                 // before the torn tail is loaded
    notOpened,   // no such file, or it cannot be read
};

// Per type 0 to 4: indices into Entries() of a day's entries, in array order (newest first).
using EntryDayTypes = std::array<std::vector<int>, entryfile::kTypeCount>;

class CEntryMonthData {
public:
    // Opens the files MemorySave writes with files made by `makeFile` (a test's files that fail
    // on cue); plain files without one.
    explicit CEntryMonthData(FileFactory makeFile = {}) : m_makeFile(std::move(makeFile)) {}

    // The folder of the month files ("" until set).
    void SetFolder(std::string folder) { m_folder = std::move(folder); }
    const std::string& Folder() const { return m_folder; }
    // The folder's month files, newest first.
    std::vector<MonthFileEntry> Months() const;
    // The path of a month's file in the folder.
    std::string MonthPath(YearMonth month) const;

    // Loads the month's file, replacing what was loaded; entries of types above 4 are skipped,
    // the others end up newest first.
    EntryMonthLoad Load(YearMonth month);
    // Empties the entries and frees their storage.
    void Clear();

    YearMonth Month() const { return m_month; }
    const CArray<CLogRecordItem>& Entries() const { return m_arrRecord; }
    // The days with entries, newest first, each once.
    std::vector<LocalDay> Days() const;
    // The day's entries by type.
    EntryDayTypes TypesOfDay(const LocalDay& day) const;

    // How many entries have this type.
    int MemorySearchType(DWORD type) const;
    // 1 if some entry has from <= time < to.
    int MemorySearchTime(DWORD from, DWORD to) const;
    // Each removal keeps the order of the entries that stay and returns those it removed, in
    // array order. Every one is a single pass over the entries.
    std::vector<CLogRecordItem> MemoryDeleteTime(DWORD time);
    std::vector<CLogRecordItem> MemoryDeleteTime(DWORD from, DWORD to);
    std::vector<CLogRecordItem> MemoryDeleteType(DWORD type);
    // The entries of one type within [from, to).
    std::vector<CLogRecordItem> MemoryDeleteType(DWORD type, DWORD from, DWORD to);
    // Writes the entries, in array order, as the month file of `time`; with no entries left the
    // file is deleted. The new file is written beside the old one and renamed over it, under the
    // writers' lock on the old one, so a crash leaves one of the two whole and no append made
    // meanwhile is lost to the rename. False if it could not be written (the old file stays).
    bool MemorySave(DWORD time) const;

    // What the browser's Delete does for a day, a type of a day and an entry: the entries go
    // from memory and the month is rewritten. Returns what went, or nothing when the rewrite
    // failed (the file then still holds them).
    std::optional<std::vector<CLogRecordItem>> DeleteDay(const LocalDay& day, std::optional<DWORD> type = {});
    std::optional<std::vector<CLogRecordItem>> DeleteSecond(DWORD time);

private:
    template <typename Removed>
    std::vector<CLogRecordItem> RemoveIf(Removed removed);

    FileFactory m_makeFile;
    std::string m_folder;
    CArray<CLogRecordItem> m_arrRecord;
    YearMonth m_month;
};
