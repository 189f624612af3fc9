#include "log2/CLogManager2.h"

#include <algorithm>

#include "log2/LogFileFormat.h"
#include "module/FixedText.h"
#include "module/MonthFile.h"
#include "platform/core/CFile.h"
#include "platform/core/CTime.h"
#include "platform/core/LittleEndian.h"

namespace {

DWORD StoredOrZero(DWORD value, bool& stillStoring) {
    stillStoring = stillStoring && value != LOG_VALUE_NONE;
    return stillStoring ? value : 0;
}

std::string EncodeBlock(const _LOG_HEADER_& header, const CArray<_LOG_RECORD_MEMORY_>& records) {
    size_t size = logfile::kLogHeaderSize + logfile::kTailSize;
    for (const _LOG_RECORD_MEMORY_& record : records) size += logfile::StoredRecordSize(record.format);
    std::string block(logfile::kLogHeaderSize, '\0');
    block.reserve(size);
    logfile::EncodeLogHeader(reinterpret_cast<std::uint8_t*>(block.data()), header);
    for (const _LOG_RECORD_MEMORY_& record : records) logfile::AppendRecord(block, record);
    block.push_back(static_cast<char>(logfile::kMark));
    return block;
}

// Appends `block` and then sets the block count. If either write fails the file is cut back to
// its old length and its old header restored (as far as the platform still allows), so that a
// failed write never leaves a half block that later appends would bury.
void AppendBlock(CFile& file, std::uint64_t oldLength, const std::uint8_t* oldHeader,
                 std::uint32_t newCount, const std::string& block) {
    std::uint8_t header[logfile::kFileHeaderSize];
    logfile::EncodeFileHeader(header, newCount);
    try {
        // A new file's block goes after the header that is written next.
        file.WriteAt(std::max<std::uint64_t>(oldLength, logfile::kFileHeaderSize), block.data(),
                     static_cast<UINT>(block.size()));
        file.WriteAt(0, header, sizeof header);
    } catch (const CFileException&) {
        try {
            file.SetLength(oldLength);
            if (oldLength >= logfile::kFileHeaderSize) file.WriteAt(0, oldHeader, logfile::kFileHeaderSize);
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
    log.header = _LOG_HEADER_{};
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

    _LOG_RECORD_MEMORY_ record{};
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

    log->records.Add(record);
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

    const CString path = MonthFileName(m_szPath.c_str(), handle, logfile::kExtension);
    CFile file;
    if (!file.Open(path, CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::typeBinary))
        return 0;
    if (log->header.recordCount == 0) return 0;

    const std::uint64_t length = file.GetLength();
    std::uint8_t oldHeader[logfile::kFileHeaderSize] = {};
    std::uint32_t count = 1;
    if (length != 0) {
        // A file whose header cannot be read whole, or whose mark is wrong, is not ours to extend.
        if (file.ReadAt(0, oldHeader, sizeof oldHeader) != sizeof oldHeader || oldHeader[4] != logfile::kMark)
            return 0;
        count = GetU32(oldHeader) + 1;
    }
    AppendBlock(file, length, oldHeader, count, EncodeBlock(log->header, log->records));
    file.Close();
    m_logs.erase(handle);
    return 1;
}

CLogManager2::PendingLog* CLogManager2::Find(DWORD handle) {
    if (handle == 0) return nullptr;
    const auto it = m_logs.find(handle);
    return it == m_logs.end() ? nullptr : &it->second;
}
