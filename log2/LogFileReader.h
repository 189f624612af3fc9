#pragma once
// Reading a monthly log file back. The mark bytes are the file's only check: a file whose header
// mark is wrong yields nothing, and a block whose records run past the end of the data or whose
// tail mark is wrong is damaged. A block is whole only once its tail mark has been read.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "log2/LogFileFormat.h"
#include "log2/LogRecord.h"
#include "module/MonthFileUnits.h"
#include "platform/core/ByteStream.h"

// The first byte that could not be used, why, and whether the data ended inside the block (rather
// than holding a bad mark).
using LogFileDamage = UnitFault;

// The monthly log file as the month-file engine scans and appends it: the five-byte header that
// counts the blocks, and blocks as ReadBlock reads them.
const MonthFileUnits& LogFileUnits();

// A whole block that a scan read: its index in the file, its head and its records.
using OnLogBlock =
    std::function<void(std::uint64_t index, const _LOG_HEADER_& header, std::span<const _LOG_RECORD_MEMORY_> records)>;
// The same family, handing each whole block it reads to `onBlock`: a reader loads a month in the
// one pass that checks it.
MonthFileUnits LogFileUnitsReading(OnLogBlock onBlock);

// The block-by-block reader that every user of the format goes through.
class LogFileReader {
public:
    explicit LogFileReader(ByteStream& in) : m_in(in) {}

    // Reads the five-byte file header; damage if it is short or its mark is wrong.
    std::optional<LogFileDamage> ReadFileHeader();
    // Takes the file header from `header` (read apart from the stream); damage if its mark is wrong.
    std::optional<LogFileDamage> UseFileHeader(const std::uint8_t* header);
    std::uint32_t BlockCount() const { return m_blockCount; }

    // Reads block `index` (0-based, for messages), handing each record's stored bytes to
    // `onRecord` as it is read (logfile::DecodeRecord reads them; a reader that only checks the
    // block leaves them). Damage if the block is not whole; records already handed over then
    // belong to a block that must not be shown. A template, because a month holds millions of
    // records and each is handed over.
    template <typename OnRecord>
    std::optional<LogFileDamage> ReadBlock(std::uint32_t index, _LOG_HEADER_& header, OnRecord&& onRecord) {
        if (auto damage = ReadBlockHead(index, header)) return damage;
        // The records already at hand are walked where they lie, without a call per record; the
        // rest, from the end of what is at hand on, one by one.
        const std::span<const std::uint8_t> hand = m_in.AtHand();
        std::size_t used = 0;
        std::uint32_t r = 0;
        for (; r < header.recordCount && used + logfile::kRecordKeySize <= hand.size(); ++r) {
            const std::size_t size = logfile::StoredRecordSize(hand[used + 3]);
            if (used + size > hand.size()) break;
            onRecord(hand.data() + used);
            used += size;
        }
        m_in.Skip(used);
        for (; r < header.recordCount; ++r) {
            const std::uint8_t* stored = NextRecord();
            if (!stored) return RecordCutOff(index, r);
            onRecord(stored);
        }
        return ReadBlockTail(index);
    }
    std::uint64_t Offset() const { return m_in.Offset(); }

private:
    std::optional<LogFileDamage> ReadBlockHead(std::uint32_t index, _LOG_HEADER_& header);
    // The next record's stored bytes, or nullptr if the data ends inside it.
    const std::uint8_t* NextRecord();
    LogFileDamage RecordCutOff(std::uint32_t index, std::uint32_t record) const;
    std::optional<LogFileDamage> ReadBlockTail(std::uint32_t index);

    ByteStream& m_in;
    std::uint32_t m_blockCount = 0;
};

// A whole file parsed in memory, for the tools.
struct LogBlock {
    std::uint64_t offset = 0;  // where the block's head starts in the file
    _LOG_HEADER_ header{};
    std::vector<_LOG_RECORD_MEMORY_> records;
};

struct LogFileContents {
    std::uint32_t blockCount = 0;           // as the header states it
    std::vector<LogBlock> blocks;           // the blocks read whole, in file order
    std::optional<LogFileDamage> damage;    // set when the file is not whole
    std::uint64_t trailingBytes = 0;        // bytes after the last counted block
};

LogFileContents ParseLogFile(std::span<const std::uint8_t> bytes);
