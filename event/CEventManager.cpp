#include "event/CEventManager.h"

#include <mutex>

#include "event/EventFileReader.h"
#include "module/FixedText.h"
#include "module/MonthFileCache.h"
#include "platform/core/CTime.h"

CEventManager::CEventManager() : m_appender(EventFileUnits()) {}

CEventManager::CEventManager(FileFactory makeFile) : m_appender(EventFileUnits(), std::move(makeFile)) {}

void CEventManager::Init(const char* path) { m_szPath.store(std::make_shared<const std::string>(path ? path : "")); }

void CEventManager::AddEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side,
                                const char* text) {
    WriteEventLog(channel, actions, source, time, side, text);
}

int CEventManager::WriteEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side,
                                 const char* text) {
    const std::shared_ptr<const std::string> folder = m_szPath.load();
    if (!folder || folder->size() < 3) {
        std::lock_guard guard(m_lock);
        m_refusal = "the event folder needs at least 3 characters";
        return 0;
    }

    _EVENT_LOG_ event{};
    event.time = time != 0 ? time : CTime::GetCurrentTime().GetTime();
    event.channel = channel;
    event.actions = actions;
    event.source = source;
    event.side = side;
    StoreFixedText(event.text, text);
    event.mark = eventfile::kMark;
    std::uint8_t stored[eventfile::kRecordSize];
    eventfile::EncodeEvent(stored, event);

    thread_local MonthFileCache names(eventfile::kExtension);
    const CString& path = names.Name(*folder, event.time);

    // The object's lock orders its own threads, which share one descriptor; the file's lock
    // orders the objects and processes that write the folder.
    std::lock_guard guard(m_lock);
    m_event = event;
    if (m_appender.Append(path.str(), stored)) return 1;
    m_refusal = m_appender.Refusal();
    return 0;
}

std::string CEventManager::LastRefusal() const {
    std::lock_guard guard(m_lock);
    return m_refusal;
}
