#pragma once
// The event writer: appends each event, as soon as the host reports it, to the event file of the
// event's local month. Any number of host threads may call AddEventLog on one object; the
// object's lock makes the appends run one at a time. Month files are shared: any number of
// objects, in any number of processes, may write one folder, each append holding the month
// file's lock, and a writer recovers what a killed writer left (MonthFileAppender). Each event is
// written before AddEventLog returns; the month file's descriptor is kept open between events
// while its path still names the same file. Each call builds its record and finds its file's
// name before it takes the locks, so that they are held only for the append.
#include <atomic>
#include <memory>
#include <string>

#include "event/EventRecord.h"
#include "module/MonthFileAppender.h"
#include "platform/core/CCriticalSection.h"

class CEventManager {
public:
    CEventManager();
    // Opens month files with files made by `makeFile` (a test's files that fail on cue).
    explicit CEventManager(FileFactory makeFile);
    CEventManager(const CEventManager&) = delete;
    CEventManager& operator=(const CEventManager&) = delete;
    virtual ~CEventManager() = default;

    // Sets the event folder (used as given).
    void Init(const char* path);
    // Appends one event; `time` 0 means now. A text of 16 or more characters is cut to 15.
    // Nothing is written while the folder has fewer than 3 characters, and an event whose file
    // cannot be opened or created is dropped; a platform error while writing is raised as
    // CFileException, with the lock released.
    void AddEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side, const char* text);
    // Appends one event as AddEventLog does and says whether it was stored: 1 if it was, 0 if
    // not (a folder too short, a file that cannot be opened as a plain file, or a month file that
    // ends in bytes that are not part of an event record, which is left untouched). Records
    // without their mark are part of the file: the event goes after them. A platform error while writing
    // is raised as CFileException, the record's bytes cut back off the file first.
    int WriteEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side, const char* text);
    // Why the last event that was not stored was refused, for messages.
    std::string LastRefusal() const;

private:
    std::atomic<std::shared_ptr<const std::string>> m_szPath;  // read by every call without the lock
    _EVENT_LOG_ m_event{};
    mutable CCriticalSection m_lock;
    MonthFileAppender m_appender;  // the month file last appended to
    std::string m_refusal;
};
