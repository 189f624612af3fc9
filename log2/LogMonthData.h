#pragma once
// The log browser's data, with no window in it: which month files a folder holds, one month
// loaded into memory, its days, and the logs of a day grouped as the type tree groups them. The
// browser window fills its trees from here; the tool and the tests use it directly.
#include <array>
#include <string>
#include <vector>

#include "log2/LogRecord.h"
#include "platform/core/CArray.h"

// One loaded log: its head and the index of its first record in the month's record array.
struct _LOG_HEADER_MEMORY_ {
    _LOG_HEADER_ header;
    DWORD firstRecord;
};

struct LogMonthFile {
    std::string name;   // "200504.log"
    std::string label;  // "2005-04"
    int year = 0, month = 0;
};

// Comparators in the shape of qsort's: newest month first (by the number that the first six
// characters of a file name read as), latest log first (by the first u32 of an element).
int FileSortArray(const void* a, const void* b);
int DateSortArray(const void* a, const void* b);

// The month files of `folder`: every "*.log" whose name is exactly 10 characters, newest first.
std::vector<LogMonthFile> FindLogMonthFiles(const std::string& folder);

struct LogDay {
    std::string label;  // "%02d", the local day of the month
    DWORD midnight = 0; // local midnight that starts the day
    DWORD end = 0;      // local midnight that starts the next day (23, 24 or 25 hours later)
};

// The local day that starts at `midnight`: it ends at the next local midnight.
LogDay DayStartingAt(DWORD midnight);

// The type tree's places: types 1 to 3, the network types 4 to 6, type 7, and "Error", which
// also takes every type above 8 so that no log of a day goes unlisted. Type 0 has no place.
constexpr int kTypeGroupCount = 8;
int TypeGroupOf(BYTE type);  // -1 for type 0

// The six labels of the type tree: host strings 7799 to 7803 and "Error" (each cut to 31
// characters, as the window's label fields hold them).
constexpr int kTypeLabelCount = 6;
constexpr int kNetworkLabel = 3;  // the group that holds the network types' sub-groups
std::array<std::string, kTypeLabelCount> LoadTypeLabels();
// Which of those labels a type group shows (the network sub-groups repeat labels 0 to 2).
int TypeGroupLabel(int group);
bool IsNetworkGroup(int group);

struct LogDayGroups {
    std::array<std::vector<int>, kTypeGroupCount> logs;  // indices into Logs(), latest first
};

enum class LogMonthLoad {
    loaded,     // every block read whole
    cutShort,   // the file ends inside a block: the whole blocks before it are loaded
    notOpened,  // no such file, or it cannot be read
    notALog,    // the header mark is wrong: nothing is loaded
    damaged,    // a block's tail mark is wrong: nothing of the month is shown
};

class CLogMonthData {
public:
    // Loads "FOLDER/YYYYMM.log", replacing what was loaded. Logs end up latest first.
    LogMonthLoad Load(const std::string& folder, int year, int month);
    // Empties both arrays and frees their storage.
    void Clear();

    bool IsLoaded() const { return m_loaded; }
    int Year() const { return m_year; }
    int Month() const { return m_month; }
    const CArray<_LOG_HEADER_MEMORY_>& Logs() const { return m_arrLogEntry; }
    const CArray<_LOG_RECORD_MEMORY_>& Records() const { return m_arrRecord; }

    // The days on which loaded logs began, latest first, each once.
    std::vector<LogDay> Days() const;
    // The logs that began in [day.midnight, day.end), by type group; type 0 is never listed.
    LogDayGroups GroupDay(const LogDay& day) const;
    // The first loaded log with this handle, or nullptr.
    const _LOG_HEADER_MEMORY_* FindLog(DWORD handle) const;

private:
    CArray<_LOG_HEADER_MEMORY_> m_arrLogEntry;
    CArray<_LOG_RECORD_MEMORY_> m_arrRecord;
    bool m_loaded = false;
    int m_year = 0, m_month = 0;
};
