#include "module/MonthIndex.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kReservedUnits = std::uint64_t{1} << 22;

bool EarlierThan(const IndexedUnit& a, const IndexedUnit& b) {
    return a.time != b.time ? a.time < b.time : a.offset < b.offset;
}

}  // namespace

void MonthIndex::Clear() {
    m_path.clear();
    m_window.Close();
    m_units.clear();
    m_units.shrink_to_fit();
    m_sorted = 0;
    m_sortedEnd = 0;
    m_identity = {};
    m_scannedUnits = m_end = m_length = 0;
    m_damaged = false;
    m_hidden = m_firstHidden = 0;
}

void MonthIndex::Build(const std::string& path, std::vector<JournalFault>& faults, std::uint64_t sortedEnd) {
    Clear();
    m_path = path;
    if (auto why = m_window.Open(path)) {
        faults.push_back({.damage = MonthFileDamage{path, 0, *why}, .unreadable = true});
        // Looked at again only once another file takes its name.
        if (const auto look = CFile::IdentityAndLengthOf(path.c_str())) m_identity = look->first;
        m_damaged = true;
        return;
    }
    m_identity = m_window.Identity();
    Scan({}, faults);
    if (m_hidden)
        faults.push_back({MonthFileDamage{path, m_firstHidden,
                                          std::to_string(m_hidden) + " of " + std::to_string(m_units.size()) + " " +
                                              m_family.units->unit + "s are never shown"},
                          false, 0, false, true, m_hidden, m_units.size()});
    const auto sorted = std::ranges::partition_point(
        m_units, [sortedEnd](const IndexedUnit& u) { return u.offset + u.length <= sortedEnd; });
    if (!std::is_sorted(m_units.begin(), sorted, EarlierThan)) std::sort(m_units.begin(), sorted, EarlierThan);
    m_sorted = static_cast<std::size_t>(sorted - m_units.begin());
    m_sortedEnd = sorted == m_units.end() ? m_end : sorted->offset;
}

MonthIndex::Change MonthIndex::Look() const {
    const auto now = CFile::IdentityAndLengthOf(m_path.c_str());
    if (!now) return Change::none;  // gone: what was indexed stays readable through the open file
    if (now->first != m_identity || now->second < m_end) return Change::replaced;
    return now->second != m_length && !m_damaged ? Change::grown : Change::none;
}

std::size_t MonthIndex::Extend(std::vector<JournalFault>& faults) {
    const std::size_t before = m_units.size();
    if (m_window.IsOpen() && !m_damaged) Scan({m_end, m_scannedUnits}, faults);
    return m_units.size() - before;
}

void MonthIndex::Scan(ScanFrom from, std::vector<JournalFault>& faults) {
    const std::size_t first = m_units.size();
    MonthFileUnits recording = *m_family.units;
    // Each unit's time is taken from its leading bytes as the scan passes them: the month is read
    // once, and nothing per unit is allocated.
    recording.readUnit = [this](ByteStream& in, const UnitAt& at) {
        const std::uint64_t before = in.Offset();
        const std::uint8_t* lead = in.Peek(m_family.keyBytes);
        const JournalKeys keys = lead ? m_family.keys({lead, m_family.keyBytes}) : JournalKeys{};
        auto fault = m_family.units->readUnit(in, at);
        if (fault) return fault;
        const auto length = static_cast<std::uint32_t>(in.Offset() - before);
        // Sized once from the first unit, so that a month of a million units is not copied as it
        // grows; beyond the bound, it grows as vectors do.
        if (m_units.empty())
            m_units.reserve(static_cast<std::size_t>(std::min(in.Remaining() / length + 1, kReservedUnits)));
        m_units.push_back({at.start, keys.time, length, !keys.shown});
        return fault;
    };
    try {
        const MonthFileScan scan = ScanOpenMonthFile(m_window.File(), recording, m_path, from);
        m_length = m_window.File().GetLength();
        if (scan.damage) {
            // Whole units before the damage are used; none at or after it.
            while (m_units.size() > first && m_units.back().offset >= scan.damage->offset) m_units.pop_back();
            m_damaged = true;
        }
        m_scannedUnits = scan.units;
        m_end = std::max(m_end, scan.end);
        Report(scan, faults);
    } catch (const CFileException& e) {
        m_units.resize(first);
        m_damaged = true;
        faults.push_back({.damage = MonthFileDamage{m_path, m_end, std::strerror(e.m_lOsError)}, .unreadable = true});
    }
    CountHidden(first);
}

void MonthIndex::Report(const MonthFileScan& scan, std::vector<JournalFault>& faults) {
    if (scan.damage) faults.push_back({*scan.damage, false, 0, m_family.rival && HoldsRival()});
    else if (scan.tornBytes)
        faults.push_back({MonthFileDamage{m_path, scan.end,
                                          std::to_string(scan.tornBytes) + " bytes of a " + m_family.units->unit +
                                              " not yet whole"},
                          true, scan.tornBytes});
}

bool MonthIndex::HoldsRival() {
    const MonthFileScan asRival = ScanOpenMonthFile(m_window.File(), *m_family.rival, m_path, {});
    return !asRival.damage && asRival.units != 0;
}

void MonthIndex::CountHidden(std::size_t from) {
    for (std::size_t i = from; i < m_units.size(); ++i)
        if (m_units[i].hidden && m_hidden++ == 0) m_firstHidden = m_units[i].offset;
}

std::span<const std::uint8_t> MonthIndex::Bytes(std::size_t i, bool backward) {
    return m_window.Read(m_units[i].offset, m_units[i].length, backward);
}

std::size_t MonthIndex::LowerBound(DWORD t) const {
    const auto sorted = m_units.begin() + static_cast<std::ptrdiff_t>(m_sorted);
    return static_cast<std::size_t>(
        std::partition_point(m_units.begin(), sorted, [t](const IndexedUnit& u) { return u.time < t; }) -
        m_units.begin());
}

std::size_t MonthIndex::UpperBound(DWORD t) const {
    const auto sorted = m_units.begin() + static_cast<std::ptrdiff_t>(m_sorted);
    return static_cast<std::size_t>(
        std::partition_point(m_units.begin(), sorted, [t](const IndexedUnit& u) { return u.time <= t; }) -
        m_units.begin());
}

std::vector<std::size_t> MonthIndex::OfSecond(DWORD t) const {
    std::vector<std::size_t> units;
    for (std::size_t i = LowerBound(t); i < UpperBound(t); ++i) units.push_back(i);
    for (std::size_t i = m_sorted; i < m_units.size(); ++i)
        if (m_units[i].time == t) units.push_back(i);
    return units;
}

std::uint64_t MonthIndex::OrdinalOf(std::size_t i) const {
    const std::vector<std::size_t> second = OfSecond(m_units[i].time);
    return static_cast<std::uint64_t>(std::ranges::find(second, i) - second.begin());
}

JournalCursor MonthIndex::CursorOf(std::size_t i, const std::string& fileName) {
    return {fileName, m_units[i].offset, m_units[i].time, m_family.Hash(Bytes(i)), OrdinalOf(i), m_sortedEnd, {}};
}

std::optional<std::size_t> MonthIndex::Find(const JournalCursor& cursor) {
    const std::vector<std::size_t> second = OfSecond(cursor.time);
    for (const std::size_t i : second)
        if (m_units[i].offset == cursor.offset && m_family.Hashes(Bytes(i), cursor.hash)) return i;
    std::optional<std::size_t> found;
    for (std::size_t n = 0; n < second.size(); ++n) {
        if (!m_family.Hashes(Bytes(second[n]), cursor.hash)) continue;
        found = second[n];  // the last alike at or before its ordinal, else the first after it
        if (n >= cursor.ordinal) break;
    }
    return found;
}
