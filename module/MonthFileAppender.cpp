#include "module/MonthFileAppender.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

MonthFileAppender::MonthFileAppender(MonthFileUnits family, FileFactory makeFile)
    : m_family(std::move(family)), m_file(std::move(makeFile)) {}

std::optional<std::uint64_t> MonthFileAppender::Append(const std::string& path, std::span<const std::uint8_t> unit) {
    std::uint64_t length = 0;
    CFile* file = m_file.OpenLocked(path.c_str(), kFlags, length);
    if (!file) {
        m_refusal = std::string("it cannot be opened or created as a plain file: ") + std::strerror(errno);
        return std::nullopt;
    }
    std::optional<std::uint64_t> at;
    try {
        KeptFileLock locked{m_file, *file};
        if (Mend(*file, length, path)) at = Write(*file, unit);
    } catch (const CFileException&) {
        m_known = false;
        throw;
    }
    // A refused file is scanned anew, from its start, by the next append.
    if (!at) m_file.Release();
    return at;
}

bool MonthFileAppender::Mend(CFile& file, std::uint64_t length, const std::string& path) {
    // Another file at the path, or one cut shorter than what was read of it, is read from the start.
    if (!m_known || m_file.Identity() != m_identity || length < m_scanned.offset) m_scanned = {};
    m_identity = m_file.Identity();
    m_known = false;
    m_header.resize(std::min<std::uint64_t>(length, m_family.headerSize));
    if (!m_header.empty() &&
        file.ReadAt(0, m_header.data(), static_cast<UINT>(m_header.size())) != m_header.size()) {
        m_refusal = "its header cannot be read whole";
        return false;
    }
    file.Seek(static_cast<std::int64_t>(std::max<std::uint64_t>(m_scanned.offset, m_family.headerSize)), CFile::begin);
    ByteStream in(file);
    const MonthFileScan scan = ScanMonthFile(m_family, path, m_header.data(), in, length, m_scanned, ScanRule::writer);
    if (scan.damage) {
        m_refusal = "it is damaged at offset " + std::to_string(scan.damage->offset) + ": " + scan.damage->reason;
        return false;
    }
    // Part of a unit that nobody can ever read, and that the next unit must not follow.
    if (scan.tornBytes) file.SetLength(scan.end);
    if (scan.end < m_family.headerSize) m_header.clear();
    m_scanned = {scan.end, scan.units};
    m_known = true;
    return true;
}

std::uint64_t MonthFileAppender::Write(CFile& file, std::span<const std::uint8_t> unit) {
    const std::uint64_t end = m_scanned.offset;
    const std::uint64_t at = std::max<std::uint64_t>(end, m_family.headerSize);
    std::vector<std::uint8_t> header(m_family.headerSize);
    try {
        // A new file gets its header first, so that no crash leaves a file without one.
        if (!header.empty() && end == 0) {
            m_family.writeHeader(header.data(), 0);
            file.WriteAt(0, header.data(), static_cast<UINT>(header.size()));
        }
        file.WriteAt(at, unit.data(), static_cast<UINT>(unit.size()));
        if (!header.empty()) {
            m_family.writeHeader(header.data(), static_cast<std::uint32_t>(m_scanned.units + 1));
            file.WriteAt(0, header.data(), static_cast<UINT>(header.size()));
        }
    } catch (const CFileException&) {
        try {
            file.SetLength(end);
            if (!m_header.empty()) file.WriteAt(0, m_header.data(), static_cast<UINT>(m_header.size()));
        } catch (const CFileException&) {
            // The write's error is the one the caller needs to see; the next append mends the rest.
        }
        throw;
    }
    m_scanned = {at + unit.size(), m_scanned.units + 1};
    m_known = true;
    return at;
}
