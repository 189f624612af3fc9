#pragma once
// The second-generation log writer. The host opens a log (CreateLog), adds records to it
// (AddLogRecord2) and closes it (UpdateLog), which appends the whole log as one block to the
// monthly log file of the month the log was opened in. Logs live only in memory until written.
//
// One object serves one thread. Month files are shared: any number of objects, in any number of
// processes, may write one folder, each append holding the month file's lock; a writer checks the
// file's end under that lock and recovers what a killed writer left (LogFileCheck). Platform file
// errors after a month file is open reach the caller as CFileException, and the log then stays
// pending.
#include <string>
#include <unordered_map>

#include "log2/LogFileCheck.h"
#include "log2/LogFileFormat.h"
#include "log2/LogRecord.h"
#include "module/MonthFileCache.h"
#include "platform/core/CArray.h"
#include "platform/core/KeptFile.h"

class CLogManager2 {
public:
    CLogManager2() = default;
    // Opens month files with files made by `makeFile` (a test's files that fail on cue).
    explicit CLogManager2(FileFactory makeFile) : m_file(std::move(makeFile)) {}
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
    // file, or a month file that is not a log file or is damaged before its end (that file is
    // left untouched).
    int WriteLog(DWORD handle);
    // Why the last write that returned 0 for a month file was refused, for messages.
    const std::string& LastRefusal() const { return m_refusal; }

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
    // Appends a log with records to the locked month file of `length` bytes and forgets the log;
    // false if the file is refused.
    bool WriteBlock(CFile& file, std::uint64_t length, PendingLog& log);

    // Pending logs by handle, and their records in one pool whose slots are reused, so adding
    // and writing cost the same however many logs are pending.
    std::unordered_map<DWORD, PendingLog> m_logs;
    PendingLog* m_lastFound = nullptr;  // into m_logs; cleared when a log leaves it
    CArray<RecordSlot> m_arrRecord;
    int m_freeRecord = kNone;
    std::string m_block;  // the block being written, kept to reuse its storage
    MonthFileCache m_monthFile{logfile::kExtension};
    CKeptFile m_file;     // the month file last written
    LogFileCheck m_checked;  // what is known of it
    std::string m_refusal;
    std::string m_szPath;
    DWORD m_dwLastHandle = 0;
};
