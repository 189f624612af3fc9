#include "event/EventFileCheck.h"

#include <vector>

#include "event/EventRecord.h"

std::optional<std::uint64_t> EventFileCheck::Prepare(CFile& file, std::uint64_t length, const FileIdentity& identity) {
    const std::uint64_t whole = length - length % eventfile::kRecordSize;
    if (!m_known || identity != m_identity) {
        m_identity = identity;
        if (!AllMarked(file, whole)) {
            m_known = false;
            return std::nullopt;
        }
        m_known = true;
    }
    if (whole != length) file.SetLength(whole);
    return whole;
}

bool EventFileCheck::AllMarked(CFile& file, std::uint64_t whole) {
    // Read in pieces of whole records, so that a large month costs little memory.
    constexpr std::uint64_t kPiece = eventfile::kRecordSize * 8192;
    std::vector<std::uint8_t> bytes;
    for (std::uint64_t at = 0; at < whole; at += kPiece) {
        bytes.resize(std::min(kPiece, whole - at));
        if (file.ReadAt(at, bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size()) {
            m_refusal = "it cannot be read to its end";
            return false;
        }
        if (const auto bad = eventfile::FirstUnmarkedRecord(bytes)) {
            m_refusal = "it is damaged at offset " + std::to_string(at + *bad) + ": the record there has no mark";
            return false;
        }
    }
    return true;
}
