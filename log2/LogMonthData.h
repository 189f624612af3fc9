#pragma once
// The log browser's data, with no window in it: one month loaded into memory, its days, and the
// logs of a day grouped as the type tree groups them. The month files of the folder, the days'
// bounds and the ordering are the browsers' shared ones (module/). The browser window fills its
// trees from here; the tool and the tests use it directly.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "log2/LogRecord.h"
#include "log2/LogTypeGroups.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "platform/core/CArray.h"

// One loaded log: its head and the index of its first record in the month's record array.
struct _LOG_HEADER_MEMORY_ {
    _LOG_HEADER_ header;
    DWORD firstRecord;
};

struct LogDayGroups {
    // Per group of kLogTypeGroups: indices into Logs(), latest first.
    std::array<std::vector<int>, kLogTypeGroupCount> logs;
};

enum class LogMonthLoad {
    loaded,     // every block read whole
    cutShort,   // the file ends inside a block after the counted ones (an append on its way, or
                // what a killed one left): the counted blocks are loaded
    notOpened,  // no such file, or it cannot be read
    notALog,    // the header mark is wrong: nothing is loaded
    damaged,    // a counted block is not whole, or bytes after them are no block: nothing of the
                // month is shown
};

class CLogMonthData {
public:
    // Loads "FOLDER/YYYYMM.log", replacing what was loaded. Logs end up latest first.
    LogMonthLoad Load(const std::string& folder, YearMonth month);
    // Empties both arrays and frees their storage.
    void Clear();

    bool IsLoaded() const { return m_loaded; }
    YearMonth Month() const { return m_month; }
    const CArray<_LOG_HEADER_MEMORY_>& Logs() const { return m_arrLogEntry; }
    const CArray<_LOG_RECORD_MEMORY_>& Records() const { return m_arrRecord; }

    // The days on which loaded logs began, latest first, each once.
    std::vector<LocalDay> Days() const;
    // The logs that began in the day, by type group; type 0 is never listed.
    LogDayGroups GroupDay(const LocalDay& day) const;
    // The first loaded log with this handle, or nullptr.
    const _LOG_HEADER_MEMORY_* FindLog(DWORD handle) const;
    // The loaded log at `place` in Logs(), or nullptr if there is none there.
    const _LOG_HEADER_MEMORY_* LogAt(size_t place) const;

private:
    // Appends a whole block's log and records.
    void Keep(const _LOG_HEADER_& header, std::span<const _LOG_RECORD_MEMORY_> records);
    // Drops the blocks from index `block` on, in file order: appends the header does not count yet.
    void DropFrom(std::uint32_t block);

    CArray<_LOG_HEADER_MEMORY_> m_arrLogEntry;
    CArray<_LOG_RECORD_MEMORY_> m_arrRecord;
    bool m_loaded = false;
    YearMonth m_month;
};
