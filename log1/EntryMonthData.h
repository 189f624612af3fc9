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

#include "log1/CLogRecordItem.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "platform/core/CArray.h"
#include "platform/core/KeptFile.h"

enum class EntryMonthLoad {
    loaded,      // every record read
    badLength,   // the file does not end in whole entries (a write cut short, or bytes that are
                 // no entry of the month): every whole entry before them is loaded
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

    // The loaded entry with this serial, or nullptr when it is not (or no longer) loaded.
    const CLogRecordItem* Find(DWORD serial) const;
    // The indices into Entries() of the entries of one second and type (and name, when given),
    // in array order.
    std::vector<int> EntriesAt(DWORD time, DWORD type, const char* name = nullptr) const;

    // How many entries have this type.
    int MemorySearchType(DWORD type) const;
    // 1 if some entry has from <= time < to.
    int MemorySearchTime(DWORD from, std::uint64_t to) const;
    // Each removal keeps the order of the entries that stay and returns those it removed, in
    // array order; MemorySave then takes them out of the month file. Every one is a single pass
    // over the entries.
    std::vector<CLogRecordItem> MemoryDeleteTime(DWORD time);
    std::vector<CLogRecordItem> MemoryDeleteTime(DWORD from, std::uint64_t to);
    std::vector<CLogRecordItem> MemoryDeleteType(DWORD type);
    // The entries of one type within [from, to).
    std::vector<CLogRecordItem> MemoryDeleteType(DWORD type, DWORD from, std::uint64_t to);
    // The entry with this serial.
    std::vector<CLogRecordItem> MemoryDeleteEntry(DWORD serial);
    // Takes the entries removed since the month was loaded (or last saved) out of the month file
    // of `time`, and nothing else: under the writers' lock the file is read again, each removed
    // entry is found by its identity (at the place it had, else the first stored entry equal to
    // it in every field but the update time), and the rest is kept byte for byte and in its
    // order: entries saved since the load, update times written since, entries of types the
    // browser does not load, a torn tail. The new file is written beside the old one and renamed
    // over it while the lock is held, so a crash leaves one of the two whole and an append waits
    // for the new file; a file left with nothing is deleted. True when the removed entries are no
    // longer in the file (also when nothing was removed, or they were gone already); false if it
    // could not be written, and the removals are tried again by the next save.
    bool MemorySave(DWORD time);

    // What the browser's Delete does for a day, a type of a day and an entry: the entries go
    // from memory and from the month file. Returns what went, or nothing when the rewrite
    // failed (the file then still holds them).
    std::optional<std::vector<CLogRecordItem>> DeleteDay(const LocalDay& day, std::optional<DWORD> type = {});
    std::optional<std::vector<CLogRecordItem>> DeleteEntry(DWORD serial);

private:
    template <typename Removed>
    std::vector<CLogRecordItem> RemoveIf(Removed removed);
    // Rewrites the loaded month's file without what was removed.
    bool SaveMonth() { return MemorySave(LocalMidnight(m_month.year, m_month.month, 1)); }
    // After a save: the loaded entries' places in the rewritten file.
    void MoveOffsets(const std::vector<bool>& removed);

    FileFactory m_makeFile;
    std::string m_folder;
    CArray<CLogRecordItem> m_arrRecord;
    std::vector<CLogRecordItem> m_removed;  // removed from memory, not yet from the file
    YearMonth m_month;
};
