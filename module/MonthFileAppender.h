#pragma once
// Appending one unit to a shared month file, the same for every family. The file is opened as a
// plain file only (never through a symlink or a FIFO) and kept open from one append to the next
// while its path still names it; each append holds the file's lock, first mends what a writer
// killed in its append left (by the rule of MonthFileScan.h), then writes its unit after the last
// whole one and, where the family has a header, the header counting it. A failed write is rolled
// back before its error is raised, so that no half unit stays for later appends to bury. What is
// known of the file is kept, so each append reads only what others appended since.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "module/MonthFileScan.h"
#include "platform/core/KeptFile.h"

class MonthFileAppender {
public:
    // How month files are opened for writing: created when missing, never truncated, plain only.
    static constexpr UINT kFlags = CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                   CFile::modeNoFollow | CFile::typeBinary;

    explicit MonthFileAppender(MonthFileUnits family, FileFactory makeFile = {});

    // Appends `unit` to the month file at `path`, creating the file; returns where the unit went.
    // Nothing when the file cannot be opened as a plain file or must not be extended (damaged, or
    // of another kind): it is then left untouched and Refusal() says why. A platform error while
    // mending or writing raises CFileException, the file rolled back as far as the platform allows.
    std::optional<std::uint64_t> Append(const std::string& path, std::span<const std::uint8_t> unit);
    // Why the last append that returned nothing was refused, for messages.
    const std::string& Refusal() const { return m_refusal; }

private:
    // Brings what is known up to the locked file's `length` and cuts what a killed append left;
    // false when the file must not be extended.
    bool Mend(CFile& file, std::uint64_t length, const std::string& path);
    std::uint64_t Write(CFile& file, std::span<const std::uint8_t> unit);

    MonthFileUnits m_family;
    CKeptFile m_file;
    bool m_known = false;                // m_scanned holds for the kept file
    FileIdentity m_identity;
    ScanFrom m_scanned;                  // the whole units known, and where they end
    std::vector<std::uint8_t> m_header;  // the header as it stood before the append
    std::string m_refusal;
};
