#include "log2/LogFileReader.h"

#include <memory>

#include "log2/LogFileFormat.h"
#include "platform/core/LittleEndian.h"

namespace {

LogFileDamage BlockFault(std::uint64_t at, std::uint32_t index, const std::string& what, bool cutShort) {
    return LogFileDamage{at, "block " + std::to_string(index + 1) + " " + what, cutShort};
}

}  // namespace

std::optional<LogFileDamage> LogFileReader::ReadFileHeader() {
    const std::uint8_t* header = m_in.Take(logfile::kFileHeaderSize);
    if (!header) return LogFileDamage{0, "file is shorter than its 5-byte header", true};
    return UseFileHeader(header);
}

std::optional<LogFileDamage> LogFileReader::UseFileHeader(const std::uint8_t* header) {
    m_blockCount = GetU32(header);
    if (header[4] != logfile::kMark) return LogFileDamage{4, "file header has a bad mark", false};
    return std::nullopt;
}

std::optional<LogFileDamage> LogFileReader::ReadBlockHead(std::uint32_t index, _LOG_HEADER_& header) {
    const std::uint8_t* head = m_in.Take(logfile::kLogHeaderSize);
    if (!head) return BlockFault(m_in.Offset(), index, "is cut off in its head", true);
    header = logfile::DecodeLogHeader(head);
    return std::nullopt;
}

const std::uint8_t* LogFileReader::NextRecord() {
    const std::uint8_t* key = m_in.Peek(logfile::kRecordKeySize);
    return key ? m_in.Take(logfile::StoredRecordSize(key[3])) : nullptr;
}

LogFileDamage LogFileReader::RecordCutOff(std::uint32_t index, std::uint32_t record) const {
    return BlockFault(m_in.Offset(), index, "is cut off in record " + std::to_string(record + 1), true);
}

std::optional<LogFileDamage> LogFileReader::ReadBlockTail(std::uint32_t index) {
    const std::uint8_t* tail = m_in.Peek(logfile::kTailSize);
    if (!tail) return BlockFault(m_in.Offset(), index, "is cut off before its tail mark", true);
    if (*tail != logfile::kMark) return BlockFault(m_in.Offset(), index, "has a bad tail mark", false);
    m_in.Skip(logfile::kTailSize);
    return std::nullopt;
}

LogFileContents ParseLogFile(std::span<const std::uint8_t> bytes) {
    LogFileContents contents;
    ByteStream in(bytes);
    LogFileReader reader(in);
    contents.damage = reader.ReadFileHeader();
    contents.blockCount = reader.BlockCount();
    if (contents.damage) return contents;
    for (std::uint32_t i = 0; i < contents.blockCount; ++i) {
        LogBlock block;
        block.offset = in.Offset();
        contents.damage = reader.ReadBlock(i, block.header, [&block](const std::uint8_t* r) {
            block.records.push_back(logfile::DecodeRecord(r));
        });
        if (contents.damage) return contents;
        contents.blocks.push_back(std::move(block));
    }
    contents.trailingBytes = in.Remaining();
    return contents;
}

MonthFileUnits LogFileUnitsReading(OnLogBlock onBlock) {
    // The records of the block being read, kept between blocks so that a month allocates them once.
    auto records = std::make_shared<std::vector<_LOG_RECORD_MEMORY_>>();
    return MonthFileUnits{
        "second-generation month file",
        "block",
        logfile::kFileHeaderSize,
        [](const std::uint8_t* header, std::uint32_t& count) -> std::optional<UnitFault> {
            count = GetU32(header);
            if (header[4] != logfile::kMark) return UnitFault{4, "its fifth byte is not 0x0A", false};
            return std::nullopt;
        },
        logfile::EncodeFileHeader,
        [onBlock = std::move(onBlock), records](ByteStream& in, const UnitAt& at) -> std::optional<UnitFault> {
            const std::uint64_t first = in.Offset();
            _LOG_HEADER_ header;
            if (onBlock) records->clear();
            auto damage = LogFileReader(in).ReadBlock(static_cast<std::uint32_t>(at.index), header,
                                                      [&](const std::uint8_t* r) {
                                                          if (onBlock) records->push_back(logfile::DecodeRecord(r));
                                                      });
            if (damage) {
                damage->offset = at.start + damage->offset - first;
                return damage;
            }
            if (onBlock) onBlock(at.index, header, *records);
            return std::nullopt;
        },
    };
}

const MonthFileUnits& LogFileUnits() {
    static const MonthFileUnits units = LogFileUnitsReading(nullptr);
    return units;
}
