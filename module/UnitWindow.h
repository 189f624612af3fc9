#pragma once
// The bytes of a month file's units, read through one bounded window of the file (positional
// reads of about a mebibyte), so that a month of any size is never held whole in memory and
// units read in or against file order mostly come from the window at hand.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/CFile.h"

class UnitWindow {
public:
    // Opens the plain file at `path` (never through a link); the system's reason when it cannot.
    std::optional<std::string> Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    FileIdentity Identity() const { return m_file.GetIdentity(); }
    // The open file, for a scan that reads it front to back (positional reads leave it alone).
    CFile& File() { return m_file; }

    // The `length` bytes at `offset`, valid until the next Read; empty when the file no longer holds
    // them. `backward` fills the window towards the file's start, for reading against file order.
    std::span<const std::uint8_t> Read(std::uint64_t offset, std::uint32_t length, bool backward = false);

private:
    CFile m_file;
    std::vector<std::uint8_t> m_bytes;  // the window's bytes
    std::uint64_t m_start = 0;          // the file offset of m_bytes[0]
};
