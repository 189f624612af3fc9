#pragma once
// Bytes read front to back, from memory or from a file read in large pieces, for the parsers of
// the file formats. A parser peeks at the next few bytes, decides, and skips them; it never sees
// past the end of the data, whatever lengths the data claims.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/CFile.h"

class ByteStream {
public:
    explicit ByteStream(std::span<const std::uint8_t> bytes);
    // Reads `file` from its current position; file errors are raised as CFileException.
    explicit ByteStream(CFile& file, size_t chunk = size_t{1} << 20);

    // The next `n` bytes without consuming them, or nullptr if fewer are left. The pointer stays
    // valid until the next Peek or Skip; `n` must not exceed the chunk size.
    const std::uint8_t* Peek(size_t n);
    void Skip(size_t n);
    // Peek and Skip in one.
    const std::uint8_t* Take(size_t n);
    // The unread bytes already at hand, without reading more: a parser may walk many small items
    // there, then Skip what it used. Valid until the next Peek or Skip.
    std::span<const std::uint8_t> AtHand() const { return m_view; }
    std::uint64_t Offset() const { return m_offset; }
    // A bound on the bytes still to come (exact for memory, the file's length for files).
    std::uint64_t Remaining() const { return m_limit - m_offset; }

private:
    bool Fill(size_t n);

    std::span<const std::uint8_t> m_view;  // unread bytes at hand
    CFile* m_file = nullptr;
    std::vector<std::uint8_t> m_buffer;  // the chunk, or the whole file when that is shorter
    size_t m_chunk = 0;
    std::uint64_t m_offset = 0;
    std::uint64_t m_limit = 0;
};
