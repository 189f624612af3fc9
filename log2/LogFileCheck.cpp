#include "log2/LogFileCheck.h"

#include <vector>

#include "log2/LogFileReader.h"
#include "platform/core/ByteStream.h"

std::optional<std::uint32_t> LogFileCheck::Prepare(CFile& file, std::uint64_t length, const FileIdentity& identity) {
    // Another file at the path, or one cut shorter than what was read of it, is read from the start.
    if (!m_known || identity != m_identity || length < m_end) {
        m_identity = identity;
        m_end = 0;
        m_blocks = 0;
    }
    m_known = false;
    if (length == 0) {
        m_known = true;
        return 1;
    }
    if (length < logfile::kFileHeaderSize || file.ReadAt(0, m_header, sizeof m_header) != sizeof m_header)
        return Refuse("its 5-byte header cannot be read whole");
    if (m_header[4] != logfile::kMark) return Refuse("it is not a log file: its fifth byte is not 0x0A");
    if (m_end == 0) m_end = logfile::kFileHeaderSize;
    if (!CountBlocks(file, length)) return std::nullopt;
    m_known = true;
    return m_blocks + 1;
}

bool LogFileCheck::CountBlocks(CFile& file, std::uint64_t length) {
    if (length == m_end) return true;
    std::vector<std::uint8_t> bytes(length - m_end);
    if (file.ReadAt(m_end, bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size()) {
        Refuse("it cannot be read to its end");
        return false;
    }
    ByteStream in(bytes);
    const WholeBlocks whole = ReadWholeBlocks(in, m_blocks);
    if (whole.damage && !whole.damage->cutShort) {
        Refuse("it is damaged at offset " + std::to_string(m_end + whole.damage->offset) + ": " + whole.damage->reason);
        return false;
    }
    // A torn append: nobody can ever read it, and the next block must not go after it.
    if (whole.damage) file.SetLength(m_end + whole.end);
    m_end += whole.end;
    m_blocks += whole.count;
    return true;
}

void LogFileCheck::Appended(std::uint64_t blockSize) {
    if (m_end == 0) m_end = logfile::kFileHeaderSize;
    m_end += blockSize;
    ++m_blocks;
    m_known = true;
}

std::optional<std::uint32_t> LogFileCheck::Refuse(std::string reason) {
    m_known = false;
    m_refusal = std::move(reason);
    return std::nullopt;
}
