#include "platform/core/ByteStream.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

ByteStream::ByteStream(std::span<const std::uint8_t> bytes) : m_view(bytes), m_limit(bytes.size()) {}

ByteStream::ByteStream(CFile& file, size_t chunk) : m_file(&file), m_chunk(chunk) {
    const std::uint64_t length = file.GetLength();
    const std::uint64_t at = file.Seek(0, CFile::current);
    m_limit = length > at ? length - at : 0;
    // A small file needs no buffer of a whole chunk, which would be cleared for every file read.
    m_buffer.resize(static_cast<size_t>(std::min<std::uint64_t>(chunk, m_limit)));
}

bool ByteStream::Fill(size_t n) {
    if (!m_file) return false;
    if (n > m_chunk) throw std::length_error("ByteStream peek larger than its chunk");
    // Move what is left to the front and read behind it.
    const size_t kept = m_view.size();
    if (kept) std::memmove(m_buffer.data(), m_view.data(), kept);  // an empty view may have no data at all
    // The file has grown since the stream began, or the peek is longer than the file was.
    if (n > m_buffer.size()) m_buffer.resize(n);
    const UINT got = m_file->Read(m_buffer.data() + kept, static_cast<UINT>(m_buffer.size() - kept));
    m_view = std::span<const std::uint8_t>(m_buffer.data(), kept + got);
    if (got == 0) m_limit = m_offset + kept;  // the file ended earlier than its length said
    return m_view.size() >= n;
}

const std::uint8_t* ByteStream::Peek(size_t n) {
    if (m_view.size() < n && !Fill(n)) return nullptr;
    return m_view.data();
}

void ByteStream::Skip(size_t n) {
    if (m_view.size() < n) throw std::out_of_range("ByteStream skip past the bytes at hand");
    m_view = m_view.subspan(n);
    m_offset += n;
}

const std::uint8_t* ByteStream::Take(size_t n) {
    const std::uint8_t* at = Peek(n);
    if (at) Skip(n);
    return at;
}
