#pragma once
// What an event writer knows of the month file it keeps open. A file not seen before is read
// whole once: one whose whole records do not all carry their mark is damaged (or not an event
// file) and is refused, never extended. Before each append, with the file's lock held, a record
// cut off at the end (a writer killed during its append) is cut away, so that every record stays
// on its 36-byte place.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/CFile.h"

class EventFileCheck {
public:
    // Makes the locked `file`, `length` bytes long, ready for the next record: returns where it
    // goes, or nothing when the file must not be extended (Refusal() then says why). Cutting a
    // torn record off may raise CFileException.
    std::optional<std::uint64_t> Prepare(CFile& file, std::uint64_t length, const FileIdentity& identity);
    // Nothing of the file is known any more (after a failed write or a refusal).
    void Forget() { m_known = false; }
    const std::string& Refusal() const { return m_refusal; }

private:
    // Reads the whole records of the file; false if one lacks its mark.
    bool AllMarked(CFile& file, std::uint64_t whole);

    bool m_known = false;
    FileIdentity m_identity;
    std::string m_refusal;
};
