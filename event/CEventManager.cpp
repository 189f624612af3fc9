#include "event/CEventManager.h"

#include <mutex>

#include "module/FixedText.h"
#include "module/MonthFile.h"
#include "platform/core/CFile.h"
#include "platform/core/CTime.h"

void CEventManager::Init(const char* path) {
    std::lock_guard guard(m_lock);
    m_szPath = path ? path : "";
}

void CEventManager::AddEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side,
                                const char* text) {
    std::lock_guard guard(m_lock);
    if (m_szPath.size() < 3) return;

    m_event = _EVENT_LOG_{};
    m_event.time = time != 0 ? time : CTime::GetCurrentTime().GetTime();
    m_event.channel = channel;
    m_event.actions = actions;
    m_event.source = source;
    m_event.side = side;
    StoreFixedText(m_event.text, text);
    m_event.mark = eventfile::kMark;

    std::uint8_t stored[eventfile::kRecordSize];
    eventfile::EncodeEvent(stored, m_event);

    // Append mode puts every record at the end even when another object or process appends to
    // the same file, so no two records can overwrite each other.
    CFile file;
    const CString path = MonthFileName(m_szPath.c_str(), m_event.time, eventfile::kExtension);
    if (!file.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::modeAppend |
                             CFile::typeBinary))
        return;
    file.Write(stored, sizeof stored);
    file.Close();
}
