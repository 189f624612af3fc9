#include "log1/CLogManager.h"

#include <array>
#include <mutex>
#include <string>

#include "log1/EntryFileUnits.h"
#include "log1/EntryText.h"
#include "module/FixedText.h"
#include "platform/core/ByteStream.h"
#include "platform/core/CTime.h"
#include "platform/core/LittleEndian.h"

namespace {

// A remembered entry: where it was saved, to complete it later. Free while its name holds fewer
// than 3 characters.
struct LOG1_PENDING_SLOT {
    char name[24];
    DWORD time;
    DWORD type;
    DWORD offset;
};
constexpr size_t kShortestPendingName = 3;

constexpr UINT kUpdateFlags = CFile::modeReadWrite | CFile::modeNoFollow | CFile::typeBinary;

// The name as stored: cut to its field, never inside a character.
std::string StoredName(const char* name) {
    return std::string(FitText(name ? std::string_view(name) : std::string_view(), entryfile::kNameWidth - 1));
}

bool IsFree(const LOG1_PENDING_SLOT& slot) { return strnlen(slot.name, sizeof slot.name) < kShortestPendingName; }

// The month file of `time`: SAVEPATH + "YYYYMM.log", empty when it would not fit the path limit.
std::string EntryFileName(const std::string& savePath, DWORD time) {
    std::string name = savePath + CTime(time).Format("%Y%m").str() + "." + entryfile::kExtension;
    return name.size() < entryfile::kMaxPath ? name : std::string();
}

}  // namespace

struct CLogManager::Shared {
    std::mutex lock;
    std::string savePath;
    std::array<LOG1_PENDING_SLOT, kPendingSlots> slots{};

    // Where the entry `pending` is in the locked month file: at `offset` if it is still there,
    // else the first entry with its time, name and type that is still pending.
    static std::optional<std::uint64_t> Locate(CFile& file, const _LOG_RECORD_V1_& pending, std::uint64_t offset);

    // The state while some object holds it.
    static std::mutex joinLock;
    static std::weak_ptr<Shared> current;
};

std::mutex CLogManager::Shared::joinLock;
std::weak_ptr<CLogManager::Shared> CLogManager::Shared::current;

CLogManager::CLogManager() : CLogManager(FileFactory{}) {}

// The first object makes the shared state; the others join it.
CLogManager::CLogManager(FileFactory makeFile) : m_file(makeFile), m_appender(EntryFileUnits(), makeFile) {
    std::lock_guard guard(Shared::joinLock);
    m_shared = Shared::current.lock();
    if (!m_shared) Shared::current = m_shared = std::make_shared<Shared>();
}

CLogManager::CLogManager(const CLogManager&) : CLogManager() {}

// The last owner frees the state.
CLogManager::~CLogManager() = default;

int CLogManager::PendingCount() {
    std::shared_ptr<Shared> shared;
    {
        std::lock_guard guard(Shared::joinLock);
        shared = Shared::current.lock();
    }
    if (!shared) return 0;
    std::lock_guard guard(shared->lock);
    int taken = 0;
    for (const LOG1_PENDING_SLOT& slot : shared->slots) taken += IsFree(slot) ? 0 : 1;
    return taken;
}

void CLogManager::SetSavePath(const char* path) {
    std::string savePath = path ? path : "";
    // The longest month file name adds "YYYYMM.log" to the path.
    if (savePath.size() + 10 >= entryfile::kMaxPath) savePath.clear();
    std::lock_guard guard(m_shared->lock);
    m_shared->savePath = std::move(savePath);
}

void CLogManager::SaveLog(const char* name, DWORD type, DWORD time, DWORD updateTime, DWORD flag, const char* text) {
    WriteLog(name, type, time, updateTime, flag, text);
}

std::string CLogManager::LastRefusal() const {
    std::lock_guard guard(m_shared->lock);
    return m_refusal;
}

int CLogManager::WriteLog(const char* name, DWORD type, DWORD time, DWORD updateTime, DWORD flag, const char* text) {
    _LOG_RECORD_V1_ entry{};
    entry.time = time;
    entry.updateTime = updateTime;
    const std::string storedName = StoredName(name);
    StoreFixedText(entry.name, storedName.c_str());
    entry.type = type;
    entry.flag = flag;
    const std::string label = text ? std::string() : EntryTypeLabel(type);
    StoreFixedText(entry.text, std::string(FitText(text ? text : label, entryfile::kTextWidth - 1)).c_str());
    std::uint8_t stored[entryfile::kRecordSize];
    entryfile::EncodeEntry(stored, entry);

    std::lock_guard guard(m_shared->lock);
    if (m_shared->savePath.empty()) return Refuse("no usable save path is set");
    const std::string path = EntryFileName(m_shared->savePath, time);
    if (path.empty()) return Refuse("the month file's name would be too long");
    const auto offset = m_appender.Append(path, stored);
    if (!offset) return Refuse(path + ": " + m_appender.Refusal());
    if (updateTime != 0) return 1;
    for (LOG1_PENDING_SLOT& slot : m_shared->slots) {
        if (!IsFree(slot)) continue;
        slot = {};
        StoreFixedText(slot.name, storedName.c_str());
        slot.time = time;
        slot.type = type;
        slot.offset = static_cast<DWORD>(*offset);
        break;
    }
    return 1;
}

int CLogManager::Refuse(std::string reason) {
    m_refusal = std::move(reason);
    return 0;
}

std::optional<std::uint64_t> CLogManager::Shared::Locate(CFile& file, const _LOG_RECORD_V1_& pending,
                                                         std::uint64_t offset) {
    const auto isPending = [&](const std::uint8_t* bytes) {
        const _LOG_RECORD_V1_ entry = entryfile::DecodeEntry(bytes);
        return entry.updateTime == 0 && entryfile::SameEntry(entry, pending);
    };
    std::uint8_t bytes[entryfile::kRecordSize];
    if (offset % entryfile::kRecordSize == 0 && file.ReadAt(offset, bytes, sizeof bytes) == sizeof bytes &&
        isPending(bytes))
        return offset;
    // Moved: the browser rewrote the month, newest first, or the file was made anew.
    file.SeekToBegin();
    ByteStream in(file);
    while (const std::uint8_t* record = in.Take(entryfile::kRecordSize))
        if (isPending(record)) return in.Offset() - entryfile::kRecordSize;
    return std::nullopt;
}

int CLogManager::UpdateLog(const char* name, DWORD type, DWORD value) {
    const std::string wanted = StoredName(name);
    std::lock_guard guard(m_shared->lock);
    LOG1_PENDING_SLOT* found = nullptr;
    for (LOG1_PENDING_SLOT& slot : m_shared->slots) {
        if (slot.time != 0 && slot.type == type && ReadFixedText(slot.name) == wanted) {
            found = &slot;
            break;
        }
    }
    if (!found) return 0;
    // The slot is forgotten whatever happens next.
    const LOG1_PENDING_SLOT slot = *found;
    *found = {};

    const std::string path = EntryFileName(m_shared->savePath, slot.time);
    if (m_shared->savePath.empty() || path.empty()) return 0;
    std::uint64_t length = 0;
    CFile* file = m_file.OpenLocked(path.c_str(), kUpdateFlags, length);
    if (!file) return 0;
    KeptFileLock locked{m_file, *file};
    _LOG_RECORD_V1_ pending{};
    pending.time = slot.time;
    pending.type = slot.type;
    StoreFixedText(pending.name, wanted.c_str());
    const auto at = Shared::Locate(*file, pending, slot.offset);
    if (!at) return 0;
    std::uint8_t stored[4];
    PutU32(stored, value);
    file->WriteAt(*at + entryfile::kUpdateTimeOffset, stored, sizeof stored);
    return 1;
}
