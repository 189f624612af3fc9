#include "log2/LogFileReader.h"

#include <algorithm>

#include "log2/LogFileFormat.h"
#include "platform/core/LittleEndian.h"

namespace {

class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t offset() const { return m_at; }
    std::uint64_t left() const { return m_bytes.size() - m_at; }
    // The next `n` bytes without consuming them, or nullptr if fewer are left.
    const std::uint8_t* peek(size_t n) const { return left() < n ? nullptr : m_bytes.data() + m_at; }
    // The next `n` bytes, or nullptr (consuming nothing) if fewer are left.
    const std::uint8_t* take(size_t n) {
        const std::uint8_t* at = peek(n);
        if (at) m_at += n;
        return at;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    size_t m_at = 0;
};

std::optional<LogFileDamage> BlockFault(std::uint64_t at, std::uint32_t index, const std::string& what) {
    return LogFileDamage{at, "block " + std::to_string(index + 1) + " " + what};
}

// Reads one block; on damage returns where and why it could not be read whole.
std::optional<LogFileDamage> ReadBlock(Cursor& in, std::uint32_t index, LogBlock& block) {
    block.offset = in.offset();
    const std::uint8_t* head = in.take(logfile::kLogHeaderSize);
    if (!head) return BlockFault(in.offset(), index, "is cut off in its head");
    block.header = logfile::DecodeLogHeader(head);
    // Every record takes at least 4 bytes: never reserve more than the file can hold.
    block.records.reserve(std::min<std::uint64_t>(block.header.recordCount, in.left() / logfile::kRecordKeySize));
    for (std::uint32_t r = 0; r < block.header.recordCount; ++r) {
        const std::uint8_t* key = in.peek(logfile::kRecordKeySize);
        const std::uint8_t* stored = key ? in.take(logfile::StoredRecordSize(key[3])) : nullptr;
        if (!stored) return BlockFault(in.offset(), index, "is cut off in record " + std::to_string(r + 1));
        block.records.push_back(logfile::DecodeRecord(stored));
    }
    const std::uint8_t* tail = in.peek(logfile::kTailSize);
    if (!tail) return BlockFault(in.offset(), index, "is cut off before its tail mark");
    if (*tail != logfile::kMark) return BlockFault(in.offset(), index, "has a bad tail mark");
    in.take(logfile::kTailSize);
    return std::nullopt;
}

}  // namespace

LogFileContents ParseLogFile(std::span<const std::uint8_t> bytes) {
    LogFileContents contents;
    Cursor in(bytes);
    const std::uint8_t* header = in.take(logfile::kFileHeaderSize);
    if (!header) {
        contents.damage = LogFileDamage{0, "file is shorter than its 5-byte header"};
        return contents;
    }
    contents.blockCount = GetU32(header);
    if (header[4] != logfile::kMark) {
        contents.damage = LogFileDamage{4, "file header has a bad mark"};
        return contents;
    }
    for (std::uint32_t i = 0; i < contents.blockCount; ++i) {
        LogBlock block;
        contents.damage = ReadBlock(in, i, block);
        if (contents.damage) return contents;
        contents.blocks.push_back(std::move(block));
    }
    contents.trailingBytes = in.left();
    return contents;
}
