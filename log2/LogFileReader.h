#pragma once
// Reading a monthly log file back. The mark bytes are the file's only check: a file whose header
// mark is wrong yields nothing, and a block whose records run past the end of the file or whose
// tail mark is wrong ends the file there. Blocks before the damage are kept; the damaged block
// and everything after it are not.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "log2/LogRecord.h"

struct LogBlock {
    std::uint64_t offset = 0;  // where the block's head starts in the file
    _LOG_HEADER_ header{};
    std::vector<_LOG_RECORD_MEMORY_> records;  // handles are 0, as stored records carry none
};

struct LogFileDamage {
    std::uint64_t offset = 0;  // first byte that could not be used
    std::string reason;        // e.g. "block 3 has a bad tail mark"
};

struct LogFileContents {
    std::uint32_t blockCount = 0;           // as the header states it
    std::vector<LogBlock> blocks;           // the blocks read whole, in file order
    std::optional<LogFileDamage> damage;    // set when the file is not whole
    std::uint64_t trailingBytes = 0;        // bytes after the last counted block
};

LogFileContents ParseLogFile(std::span<const std::uint8_t> bytes);
