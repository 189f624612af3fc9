#include "event/CEventManager.h"

#include <mutex>

#include "module/FixedText.h"
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
    // the same file, so no two records can overwrite each other. A file that cannot be opened
    // loses the event.
    CFile* file = m_file.Open(m_monthFile.Name(m_szPath, m_event.time),
                              CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::modeAppend |
                                  CFile::typeBinary);
    if (!file) return;
    try {
        file->Write(stored, sizeof stored);
    } catch (const CFileException&) {
        m_file.Release();
        throw;
    }
}
