#include "log2/CLogManager2.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "log2/LogFileFormat.h"
#include "module/FixedText.h"
#include "platform/core/CFile.h"
#include "platform/core/CTime.h"
#include "platform/core/LittleEndian.h"

namespace {

DWORD StoredOrZero(DWORD value, bool& stillStoring) {
    stillStoring = stillStoring && value != LOG_VALUE_NONE;
    return stillStoring ? value : 0;
}

// Month files are shared with other writers and with browsers: opened only as plain files, never
// through a symlink or a FIFO.
constexpr UINT kMonthFileFlags = CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                 CFile::modeNoFollow | CFile::typeBinary;

// Appends `block` at `end`, then sets the block count; a new file gets its header first, so that
// no crash can leave a file without one. If a write fails the file is cut back to `end` and its
// old header restored (as far as the platform still allows), so that a failed write never leaves
// a half block that later appends would bury.
void AppendBlock(CFile& file, std::uint64_t end, const std::uint8_t* oldHeader, std::uint32_t newCount,
                 const std::string& block) {
    std::uint8_t header[logfile::kFileHeaderSize];
    try {
        if (end == 0) {
            logfile::EncodeFileHeader(header, 0);
            file.WriteAt(0, header, sizeof header);
        }
        file.WriteAt(std::max<std::uint64_t>(end, logfile::kFileHeaderSize), block.data(),
                     static_cast<UINT>(block.size()));
        logfile::EncodeFileHeader(header, newCount);
        file.WriteAt(0, header, sizeof header);
    } catch (const CFileException&) {
        try {
            file.SetLength(end);
            if (end != 0) file.WriteAt(0, oldHeader, logfile::kFileHeaderSize);
        } catch (const CFileException&) {
            // The original error is the one the caller needs to see.
        }
        throw;
    }
}

}  // namespace

void CLogManager2::Init(const char* path) { m_szPath = path ? path : ""; }

DWORD CLogManager2::CreateLog(const char* name, BYTE type) {
    const DWORD now = CTime::GetCurrentTime().GetTime();
    m_dwLastHandle = now > m_dwLastHandle ? now : m_dwLastHandle + 1;

    PendingLog& log = m_logs[m_dwLastHandle];
    log.header.handle = m_dwLastHandle;
    log.header.type = type;
    StoreFixedText(log.header.name, name);
    return m_dwLastHandle;
}

int CLogManager2::AddLogRecord2(DWORD handle, BYTE category, BYTE code, BYTE format, DWORD value1,
                                DWORD value2, DWORD value3, DWORD value4, const char* text1,
                                const char* text2) {
    PendingLog* log = Find(handle);
    if (!log) return 0;

    const int slot = TakeFreeSlot();
    _LOG_RECORD_MEMORY_& record = m_arrRecord[slot].record;
    record = _LOG_RECORD_MEMORY_{};
    record.type = log->header.type;
    record.category = category;
    record.code = code;
    record.format = format;
    bool storing = true;
    record.value1 = StoredOrZero(value1, storing);
    record.value2 = StoredOrZero(value2, storing);
    record.value3 = StoredOrZero(value3, storing);
    record.value4 = StoredOrZero(value4, storing);
    if (text1) {
        StoreFixedText(record.text1, text1);
        StoreFixedText(record.text2, text2);
    }
    record.handle = handle;

    m_arrRecord[slot].next = kNone;
    if (log->lastRecord == kNone) log->firstRecord = slot;
    else m_arrRecord[log->lastRecord].next = slot;
    log->lastRecord = slot;
    ++log->header.recordCount;
    return 1;
}

int CLogManager2::UpdateLog(DWORD handle, BYTE result) {
    PendingLog* log = Find(handle);
    if (!log) return 0;
    const DWORD now = CTime::GetCurrentTime().GetTime();
    log->header.endTime = now < handle ? handle : now;
    log->header.result = result;
    return WriteLog(handle);
}

int CLogManager2::WriteLog(DWORD handle) {
    PendingLog* log = Find(handle);
    if (!log || m_szPath.empty()) return 0;

    std::uint64_t length = 0;
    CFile* file = m_file.OpenLocked(m_monthFile.Name(m_szPath, handle), kMonthFileFlags, length);
    if (!file) {
        m_refusal = std::string("it cannot be opened or created as a plain file: ") + std::strerror(errno);
        return 0;
    }
    bool written = false;
    try {
        KeptFileLock locked{m_file, *file};
        if (log->header.recordCount == 0) {
            m_refusal = "the log has no records";
            return 0;
        }
        written = WriteBlock(*file, length, *log);
    } catch (const CFileException&) {
        m_checked.Forget();
        throw;
    }
    if (!written) {
        // A refused file is checked anew, from its start, by the next write.
        m_refusal = m_checked.Refusal();
        m_file.Release();
    }
    return written ? 1 : 0;
}

bool CLogManager2::WriteBlock(CFile& file, std::uint64_t length, PendingLog& log) {
    const auto count = m_checked.Prepare(file, length, m_file.Identity());
    if (!count) return false;
    EncodeBlock(log);
    AppendBlock(file, m_checked.End(), m_checked.Header(), *count, m_block);
    m_checked.Appended(m_block.size());

    // The log's records go back to the pool in one piece.
    m_arrRecord[log.lastRecord].next = m_freeRecord;
    m_freeRecord = log.firstRecord;
    m_lastFound = nullptr;
    m_logs.erase(log.header.handle);
    return true;
}

CLogManager2::PendingLog* CLogManager2::Find(DWORD handle) {
    if (handle == 0) return nullptr;
    // Records of one log usually come one after another: remember the last log found.
    if (m_lastFound && m_lastFound->header.handle == handle) return m_lastFound;
    const auto it = m_logs.find(handle);
    m_lastFound = it == m_logs.end() ? nullptr : &it->second;
    return m_lastFound;
}

int CLogManager2::TakeFreeSlot() {
    if (m_freeRecord == kNone) return m_arrRecord.Add(RecordSlot{{}, kNone});
    const int slot = m_freeRecord;
    m_freeRecord = m_arrRecord[slot].next;
    return slot;
}

void CLogManager2::EncodeBlock(const PendingLog& log) {
    size_t size = logfile::kLogHeaderSize + logfile::kTailSize;
    for (int slot = log.firstRecord; slot != kNone; slot = m_arrRecord[slot].next)
        size += logfile::StoredRecordSize(m_arrRecord[slot].record.format);
    m_block.resize(size);
    auto* out = reinterpret_cast<std::uint8_t*>(m_block.data());
    logfile::EncodeLogHeader(out, log.header);
    out += logfile::kLogHeaderSize;
    for (int slot = log.firstRecord; slot != kNone; slot = m_arrRecord[slot].next)
        out = logfile::EncodeRecord(out, m_arrRecord[slot].record);
    *out = logfile::kMark;
}
