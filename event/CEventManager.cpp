#include "event/CEventManager.h"

#include <mutex>

#include "module/FixedText.h"
#include "module/MonthFileCache.h"
#include "platform/core/CTime.h"

void CEventManager::Init(const char* path) { m_szPath.store(std::make_shared<const std::string>(path ? path : "")); }

void CEventManager::AddEventLog(DWORD channel, DWORD actions, BYTE source, DWORD time, BYTE side,
                                const char* text) {
    const std::shared_ptr<const std::string> folder = m_szPath.load();
    if (!folder || folder->size() < 3) return;

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

    // What the month file's name is, and which file it names now, is looked up without the lock.
    // A file deleted after the look-up loses the event as it would after an open: the lock
    // orders this object's appends, it does not hold other writers off the folder.
    thread_local MonthFileCache names(eventfile::kExtension);
    const CString& path = names.Name(*folder, event.time);
    const auto identity = CFile::IdentityOf(path);

    std::lock_guard guard(m_lock);
    m_event = event;
    // Append mode puts every record at the end even when another object or process appends to
    // the same file, so no two records can overwrite each other. A file that cannot be opened
    // loses the event.
    CFile* file = m_file.Open(path,
                              CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::modeAppend |
                                  CFile::typeBinary,
                              identity);
    if (!file) return;
    try {
        file->Write(stored, sizeof stored);
    } catch (const CFileException&) {
        m_file.Release();
        throw;
    }
}
