#pragma once
// What a log writer knows of the month file it keeps open: every block from the file header up
// to an offset has been read whole. Before each append, with the file's lock held, the knowledge
// is brought up to the file's end: blocks that other writers appended since are read, whole blocks
// after the counted ones (a writer killed between its append and its header rewrite) are counted
// in, and a block cut off at the end (a writer killed during its append) is cut away. A file that
// is damaged before its end is refused, never extended. A file not seen before is read whole.
#include <cstdint>
#include <optional>
#include <string>

#include "log2/LogFileFormat.h"
#include "platform/core/CFile.h"

class LogFileCheck {
public:
    // Makes the locked `file`, `length` bytes long, ready for the next block: returns the block
    // count its header states once that block is appended at End(). Nothing when the file must
    // not be extended; Refusal() then says why. Cutting a torn block off may raise CFileException.
    std::optional<std::uint32_t> Prepare(CFile& file, std::uint64_t length, const FileIdentity& identity);
    // The block whose count Prepare gave was appended: it is whole.
    void Appended(std::uint64_t blockSize);
    // Nothing of the file is known any more (after a failed write or a refusal).
    void Forget() { m_known = false; }

    // Where the next block goes: after the last whole block (0 for an empty file).
    std::uint64_t End() const { return m_end; }
    // The file header as it stood before the append.
    const std::uint8_t* Header() const { return m_header; }
    const std::string& Refusal() const { return m_refusal; }

private:
    std::optional<std::uint32_t> Refuse(std::string reason);
    // Reads the blocks from End() to `length`; false if the file is damaged before its end.
    bool CountBlocks(CFile& file, std::uint64_t length);

    bool m_known = false;
    FileIdentity m_identity;
    std::uint64_t m_end = 0;
    std::uint32_t m_blocks = 0;
    std::uint8_t m_header[logfile::kFileHeaderSize] = {};
    std::string m_refusal;
};
