#pragma once
// The second-generation log writer. The host opens a log (CreateLog), adds records to it
// (AddLogRecord2) and closes it (UpdateLog), which appends the whole log as one block to the
// monthly log file of the month the log was opened in. Logs live only in memory until written.
//
// One object serves one thread. Month files are shared: any number of objects, in any number of
// processes, may write one folder, each append holding the month file's lock; a writer checks the
// file's end under that lock and recovers what a killed writer left (MonthFileAppender). Platform
// file errors after a month file is open reach the caller as CFileException, and the log then
// stays pending.
//
// A log whose write is refused stays pending, so that the host may try again; but a month that
// can never be written must not make the object grow without bound while a host ignores the 0:
// of the refused logs only the newest kMaxRefusedLogs are kept, and the host can read how many
// writes were refused and how many refused logs were let go.
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "log2/LogFileFormat.h"
#include "log2/LogRecord.h"
#include "module/MonthFileAppender.h"
#include "module/MonthFileCache.h"
#include "platform/core/CArray.h"

class CLogManager2 {
public:
    // Refused logs kept pending for another try, at most.
    static constexpr int kMaxRefusedLogs = 256;

    CLogManager2();
    // Opens month files with files made by `makeFile` (a test's files that fail on cue).
    explicit CLogManager2(FileFactory makeFile);
    CLogManager2(const CLogManager2&) = delete;
    CLogManager2& operator=(const CLogManager2&) = delete;
    virtual ~CLogManager2() = default;  // pending logs are discarded unwritten

    // Sets the log folder (used as given; no separator is added or removed).
    void Init(const char* path);
    // Opens a log and returns its handle, which is also its start time: the current time, or
    // one more than the last handle if the clock has not moved past it. A name longer than 21
    // characters is cut to 21.
    DWORD CreateLog(const char* name, BYTE type);
    // Adds a record to a pending log; 0 if no pending log has the handle. Numbers are stored
    // positionally (see LOG_VALUE_NONE); texts are cut to 31 characters, and text2 is stored
    // only with text1.
    int AddLogRecord2(DWORD handle, BYTE category, BYTE code, BYTE format, DWORD value1, DWORD value2,
                      DWORD value3, DWORD value4, const char* text1, const char* text2);
    // Sets the end time and result, then writes the log; 1 if it was written.
    int UpdateLog(DWORD handle, BYTE result);
    // Writes a pending log to its month file and forgets it; 1 if it was written. 0 leaves it
    // pending: no folder, unknown handle, no records, a file that cannot be opened as a plain
    // file, or a month file that is not a second-generation log file or is damaged (that file is
    // left untouched). Of the logs a file refused, the oldest beyond kMaxRefusedLogs are let go.
    int WriteLog(DWORD handle);
    // Why the last write that returned 0 for a month file was refused, for messages.
    const std::string& LastRefusal() const { return m_refusal; }
    // Writes refused since the object was made (every 0 of WriteLog for a pending log).
    std::uint64_t RefusalCount() const { return m_refusals; }
    // Refused logs let go, oldest first, to keep the pending table bounded.
    std::uint64_t DiscardedLogCount() const { return m_discarded; }

    int PendingLogCount() const { return static_cast<int>(m_logs.size()); }

private:
    static constexpr int kNone = -1;

    // A slot of the record pool: a record of a pending log, chained to the next record of the
    // same log in the order they were added, or a free slot chained to the next free one.
    struct RecordSlot {
        _LOG_RECORD_MEMORY_ record;
        int next;
    };
    struct PendingLog {
        _LOG_HEADER_ header;
        int firstRecord = kNone;
        int lastRecord = kNone;
    };

    PendingLog* Find(DWORD handle);
    int TakeFreeSlot();
    void EncodeBlock(const PendingLog& log);
    // Forgets a pending log and gives its records back to the pool.
    void Forget(PendingLog& log);
    // Counts a refusal of the log, letting the oldest refused log go when too many are kept.
    int Refused(DWORD handle, std::string why);

    // Pending logs by handle, and their records in one pool whose slots are reused, so adding
    // and writing cost the same however many logs are pending.
    std::unordered_map<DWORD, PendingLog> m_logs;
    PendingLog* m_lastFound = nullptr;  // into m_logs; cleared when a log leaves it
    CArray<RecordSlot> m_arrRecord;
    int m_freeRecord = kNone;
    std::vector<std::uint8_t> m_block;  // the block being written, kept to reuse its storage
    MonthFileCache m_monthFile{logfile::kExtension};
    MonthFileAppender m_appender;  // the month file last written
    std::string m_refusal;
    std::uint64_t m_refusals = 0, m_discarded = 0;
    std::deque<DWORD> m_refused;  // handles of refused logs, oldest first (some may be written since)
    std::string m_szPath;
    DWORD m_dwLastHandle = 0;
};
