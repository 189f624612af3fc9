#pragma once
// One month file's units in the journal's order: (time, offset, length) of each whole unit, never
// its text, sorted by time with the units of one second in file order; units appended after the
// index was built follow it in file order. The file is scanned once with the month-file engine's
// reader rule; damage ends the index there and a torn tail is left out, both reported as faults.
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "module/JournalCursor.h"
#include "module/JournalFamily.h"
#include "module/MonthFileScan.h"
#include "module/UnitWindow.h"

// Damage, a torn tail, or a month file that could not be read, as data.
struct JournalFault {
    MonthFileDamage damage;
    bool torn = false;             // the file ends in part of a unit an append is still writing
    std::uint64_t tornBytes = 0;
    bool rival = false;            // the damaged file holds whole units of the family's rival instead
    // Units the browser never shows (JournalKeys::shown false): `hiddenUnits` of the month's
    // `units`, the first at damage.offset. Not damage: they are part of the file.
    bool hidden = false;
    std::uint64_t hiddenUnits = 0, units = 0;
    // The file could not be opened or read at all (not a plain file, not permitted, a read error):
    // nothing is known of its contents, so it is no sign of damage.
    bool unreadable = false;
};

struct IndexedUnit {
    std::uint64_t offset = 0;
    DWORD time = 0;
    std::uint32_t length : 31 = 0;
    std::uint32_t hidden : 1 = 0;  // never shown (JournalKeys::shown false)
};

class MonthIndex {
public:
    explicit MonthIndex(const JournalFamily& family) : m_family(family) {}

    // Indexes the month file at `path` anew: the units that end by `sortedEnd` in time order, those
    // after them in file order, as if they had been appended since.
    void Build(const std::string& path, std::vector<JournalFault>& faults,
               std::uint64_t sortedEnd = std::numeric_limits<std::uint64_t>::max());
    void Clear();
    const std::string& Path() const { return m_path; }
    bool Empty() const { return m_path.empty(); }

    enum class Change { none, grown, replaced };
    // How the file at the path differs from what was indexed: grown, or replaced (another file, or
    // shorter than the whole units indexed), which needs Build.
    Change Look() const;
    // Indexes the units appended since the last scan, after those indexed; how many were added.
    std::size_t Extend(std::vector<JournalFault>& faults);

    std::size_t Size() const { return m_units.size(); }
    // The units Build put in time order, and where the last of them ends in the file.
    std::size_t SortedCount() const { return m_sorted; }
    std::uint64_t SortedEnd() const { return m_sortedEnd; }
    const IndexedUnit& operator[](std::size_t i) const { return m_units[i]; }
    // Unit i's bytes, valid until the next call; empty when the file no longer holds them.
    std::span<const std::uint8_t> Bytes(std::size_t i, bool backward = false);

    // Of the units in time order (those indexed by Build): the first whose time is >= t / > t.
    std::size_t LowerBound(DWORD t) const;
    std::size_t UpperBound(DWORD t) const;
    // How many units of unit i's second come before it in the journal's order.
    std::uint64_t OrdinalOf(std::size_t i) const;
    // The cursor that names unit i.
    JournalCursor CursorOf(std::size_t i, const std::string& fileName);
    // The unit the cursor names: at its offset with its hash, else of its second with its hash.
    std::optional<std::size_t> Find(const JournalCursor& cursor);

private:
    // Scans from `from`, adding whole units; returns the scan for the faults it met.
    void Scan(ScanFrom from, std::vector<JournalFault>& faults);
    void Report(const MonthFileScan& scan, std::vector<JournalFault>& faults);
    bool HoldsRival();
    // Counts the units `from` on that are never shown.
    void CountHidden(std::size_t from);
    // The units of second t, in journal order.
    std::vector<std::size_t> OfSecond(DWORD t) const;

    const JournalFamily& m_family;
    std::string m_path;
    UnitWindow m_window;
    std::vector<IndexedUnit> m_units;
    std::size_t m_sorted = 0;        // the units Build put in time order
    std::uint64_t m_sortedEnd = 0;   // where they end
    FileIdentity m_identity;
    std::uint64_t m_scannedUnits = 0, m_end = 0;  // whole units scanned, and where they end
    std::uint64_t m_length = 0;      // the file's length at the last scan
    bool m_damaged = false;          // a scan met damage: nothing after it is read
    std::uint64_t m_hidden = 0, m_firstHidden = 0;  // units never shown, and where the first is
};
