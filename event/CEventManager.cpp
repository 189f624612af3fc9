#include "event/CEventManager.h"

#include <cerrno>
#include <cstring>
#include <mutex>

#include "module/FixedText.h"
#include "module/MonthFileCache.h"
#include "platform/core/CTime.h"

namespace {

// Month files are shared with other writers and with browsers: opened only as plain files, never
// through a symlink or a FIFO.
constexpr UINT kMonthFileFlags = CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                 CFile::modeNoFollow | CFile::typeBinary;

// Writes the record at `end`; a write cut short is cut back off at once, so that no later record
// lands off its 36-byte place.
void AppendRecord(CFile& file, std::uint64_t end, const std::uint8_t* record) {
    try {
        file.WriteAt(end, record, eventfile::kRecordSize);
    } catch (const CFileException&) {
        try {
            file.SetLength(end);
        } catch (const CFileException&) {
            // The write's error is the one the caller needs to see; the next append cuts the rest.
        }
        throw;
    }
}

}  // namespace

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
    std::uint64_t length = 0;
    CFile* file = m_file.OpenLocked(path, kMonthFileFlags, length);
    if (!file) {
        m_refusal = std::string("it cannot be opened or created as a plain file: ") + std::strerror(errno);
        return 0;
    }
    bool written = false;
    try {
        KeptFileLock locked{m_file, *file};
        if (const auto end = m_checked.Prepare(*file, length, m_file.Identity())) {
            AppendRecord(*file, *end, stored);
            written = true;
        }
    } catch (const CFileException&) {
        m_checked.Forget();
        throw;
    }
    if (!written) {
        // A refused file is checked anew, from its start, by the next event.
        m_refusal = m_checked.Refusal();
        m_file.Release();
    }
    return written ? 1 : 0;
}

std::string CEventManager::LastRefusal() const {
    std::lock_guard guard(m_lock);
    return m_refusal;
}
