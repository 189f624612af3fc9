#include "module/UnitWindow.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t kWindowBytes = 1u << 20;

}  // namespace

std::optional<std::string> UnitWindow::Open(const std::string& path) {
    Close();
    CFileException error(CFileException::none, 0, path, "open");
    if (m_file.Open(path.c_str(), CFile::modeRead | CFile::modeNoFollow | CFile::typeBinary, &error))
        return std::nullopt;
    return error.m_lOsError == EINVAL || error.m_lOsError == ELOOP
               ? "it is not a plain file (a symbolic link, a FIFO or a device) and is not read"
               : std::strerror(error.m_lOsError);
}

void UnitWindow::Close() {
    if (m_file.IsOpen()) m_file.Abort();
    m_bytes.clear();
    m_start = 0;
}

std::span<const std::uint8_t> UnitWindow::Read(std::uint64_t offset, std::uint32_t length, bool backward) {
    if (offset >= m_start && offset + length <= m_start + m_bytes.size())
        return {m_bytes.data() + (offset - m_start), length};
    if (!m_file.IsOpen()) return {};
    const std::uint32_t size = std::max(kWindowBytes, length);
    m_start = backward ? std::max<std::int64_t>(0, static_cast<std::int64_t>(offset + length) - size) : offset;
    m_bytes.resize(size);
    try {
        m_bytes.resize(m_file.ReadAt(m_start, m_bytes.data(), size));
    } catch (const CFileException&) {
        m_bytes.clear();
    }
    if (offset + length > m_start + m_bytes.size()) return {};
    return {m_bytes.data() + (offset - m_start), length};
}
