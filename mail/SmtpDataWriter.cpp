#include "mail/SmtpDataWriter.h"

namespace {

// Bytes sent at once.
constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

SmtpDataWriter::SmtpDataWriter(SmtpConnection& connection) : m_connection(connection) {
    m_block.reserve(2 * kBlockSize);
}

void SmtpDataWriter::Flush() {
    if (!m_failed && !m_block.empty())
        m_failed = m_connection.Send(m_block.data(), static_cast<int>(m_block.size())) == CSocket::SOCKET_ERROR;
    m_block.clear();
}

void SmtpDataWriter::Write(std::string_view text) {
    m_stuffer.Feed(text, m_block);
    if (m_block.size() >= kBlockSize) Flush();
}

void SmtpDataWriter::Finish() {
    m_stuffer.Finish(m_block);
    Flush();
}
