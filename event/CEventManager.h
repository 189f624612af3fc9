#pragma once
// The event writer: appends each event, as soon as the host reports it, to the event file of the
// event's local month. Any number of host threads may call AddEventLog on one object; the
// object's lock makes the appends run one at a time. Each event is written before AddEventLog
// returns; the month file's descriptor is kept open between events while its path still names
// the same file. Each call builds its record and finds its file's name before it takes the
// lock, so that the lock is held only for the append.
#include <atomic>
#include <memory>
#include <string>

#include "event/EventRecord.h"
#include "platform/core/KeptFile.h"
#include "platform/core/CCriticalSection.h"

class CEventManager {
public:
    CEventManager() = default;
    // Opens month files with files made by `makeFile` (a test's files that fail on cue).
    explicit CEventManager(FileFactory makeFile) : m_file(std::move(makeFile)) {}
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

private:
    std::atomic<std::shared_ptr<const std::string>> m_szPath;  // read by every call without the lock
    _EVENT_LOG_ m_event{};
    CCriticalSection m_lock;
    CKeptFile m_file;  // the month file last appended to
};
