#pragma once
// The first-generation log writer. The host appends 168-byte entries to the month file of each
// entry's local month (SaveLog) and may later complete an entry saved without an update time by
// writing one into it (UpdateLog). Entries saved without an update time are remembered for that
// in a pending table of 100 slots.
//
// The save path and the pending table are process-wide: every CLogManager shares them. They are
// made with the first object and freed with the last, and a lock guards them, so any number of
// objects on any threads may save and update at once. Between processes, each append and update
// holds an advisory lock on the month file, and the browser rewrites a month under the same lock.
//
// Platform file errors after a month file is open reach the caller as CFileException.
#include <memory>
#include <string>

#include "log1/EntryRecord.h"
#include "module/MonthFileAppender.h"
#include "platform/core/KeptFile.h"

class CLogManager {
public:
    static constexpr int kPendingSlots = 100;

    CLogManager();
    // Opens month files with files made by `makeFile` (a test's files that fail on cue).
    explicit CLogManager(FileFactory makeFile);
    // A copy shares the process-wide state, as every object does; it copies nothing.
    CLogManager(const CLogManager& other);
    CLogManager& operator=(const CLogManager&) { return *this; }
    virtual ~CLogManager();

    // Sets the save path, used as given: month files are named SAVEPATH + "YYYYMM.log", so a host
    // ends it with a separator. A path too long for a month file name to fit the host's path
    // limit is refused, and nothing is saved until a usable one is set.
    void SetSavePath(const char* path);
    // Appends one entry to the month file of `time`. A name is cut to 20 characters and a text to
    // 127 (never inside a character); a null text stores the type's label (empty for types above
    // 4). An entry with `updateTime` 0 is remembered for UpdateLog while a slot is free. Nothing
    // is written without a save path, when the file cannot be opened, or when it is not a
    // first-generation month file or is damaged (LastRefusal() then says why; the file is left
    // untouched). A torn entry a killed writer left at the end is cut off first.
    void SaveLog(const char* name, DWORD type, DWORD time, DWORD updateTime, DWORD flag, const char* text);
    // Saves one entry as SaveLog does and says whether it was stored: 1 if it was, 0 if not (no
    // save path, a month file that cannot be opened or created as a plain file, or one that is
    // damaged or not a first-generation month file).
    int WriteLog(const char* name, DWORD type, DWORD time, DWORD updateTime, DWORD flag, const char* text);
    // Why this object's last entry that was not stored was refused, for messages.
    std::string LastRefusal() const;
    // Writes `value` as the update time of the earliest remembered entry with this name and type,
    // and forgets it; 1 if it was written. It is written only into that entry: found where it was
    // saved, or where a rewrite of the month moved it. 0 when no entry is remembered, or its month
    // file or the entry itself is gone.
    int UpdateLog(const char* name, DWORD type, DWORD value);

    // How many pending slots are taken, for tests.
    static int PendingCount();

private:
    struct Shared;
    // Records why an entry was not stored, under the shared lock; 0.
    int Refuse(std::string reason);
    std::shared_ptr<Shared> m_shared;
    CKeptFile m_file;  // the month file last updated, used under the shared lock
    MonthFileAppender m_appender;  // the month file last appended to, used under the shared lock
    std::string m_refusal;  // used under the shared lock
};
