#include "log2/CLogManager2.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "module/FixedText.h"
#include "platform/core/CFile.h"
#include "platform/core/CTime.h"

namespace {

DWORD StoredOrZero(DWORD value, bool& stillStoring) {
    stillStoring = stillStoring && value != LOG_VALUE_NONE;
    return stillStoring ? value : 0;
}

}  // namespace

CLogManager2::CLogManager2() : m_appender(LogFileUnits()) {}

CLogManager2::CLogManager2(FileFactory makeFile) : m_appender(LogFileUnits(), std::move(makeFile)) {}

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
    const std::string path = m_monthFile.Name(m_szPath, handle).str();
    if (log->header.recordCount == 0) {
        // The month file is opened, and so made, all the same, as a write of a log always did.
        const bool opened = CFile().Open(path.c_str(), MonthFileAppender::kFlags);
        m_refusal = opened ? "the log has no records"
                           : std::string("it cannot be opened or created as a plain file: ") + std::strerror(errno);
        return 0;
    }
    EncodeBlock(*log);
    if (!m_appender.Append(path, m_block))
        return Refused(handle, m_appender.Refusal());
    std::erase(m_refused, handle);
    Forget(*log);
    return 1;
}

void CLogManager2::Forget(PendingLog& log) {
    // The log's records go back to the pool in one piece.
    if (log.firstRecord != kNone) {
        m_arrRecord[log.lastRecord].next = m_freeRecord;
        m_freeRecord = log.firstRecord;
    }
    m_lastFound = nullptr;
    m_logs.erase(log.header.handle);
}

int CLogManager2::Refused(DWORD handle, std::string why) {
    m_refusal = std::move(why);
    ++m_refusals;
    if (std::find(m_refused.begin(), m_refused.end(), handle) == m_refused.end()) m_refused.push_back(handle);
    while (m_refused.size() > static_cast<size_t>(kMaxRefusedLogs)) {
        PendingLog* oldest = Find(m_refused.front());
        m_refused.pop_front();
        if (!oldest) continue;
        Forget(*oldest);
        ++m_discarded;
    }
    return 0;
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
    std::uint8_t* out = m_block.data();
    logfile::EncodeLogHeader(out, log.header);
    out += logfile::kLogHeaderSize;
    for (int slot = log.firstRecord; slot != kNone; slot = m_arrRecord[slot].next)
        out = logfile::EncodeRecord(out, m_arrRecord[slot].record);
    *out = logfile::kMark;
}
