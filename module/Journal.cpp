#include "module/Journal.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "module/LocalDay.h"
#include "module/MonthFile.h"

namespace {

// The seconds of a month file's month, [first, end); nothing for a name that is no month the
// seconds reach (they end in February 2106).
struct MonthSeconds {
    DWORD first = 0;
    std::uint64_t end = 0;
};

std::optional<MonthSeconds> SecondsOf(const std::string& name) {
    const auto month = ParseMonthLabel(MonthLabelOfFile(name));
    if (!month || month->year < 1970 || month->year * 100 + month->month > 210602) return std::nullopt;
    const bool last = month->year == 2106 && month->month == 2;
    const bool december = month->month == 12;
    const std::uint64_t end =
        last ? std::uint64_t{0x100000000} : LocalMidnight(month->year + december, december ? 1 : month->month + 1, 1);
    return MonthSeconds{LocalMidnight(month->year, month->month, 1), end};
}

// "200503" for a time in March 2005, local time: how month file names begin.
std::string MonthPrefixOf(DWORD time) {
    std::string label = MonthLabelOf(time);
    return label.erase(4, 1);
}

}  // namespace

Journal::Journal(const JournalFamily& family) : m_family(family), m_index(family) { m_scratch.wantFields = false; }

bool Journal::Open(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        m_error = std::strerror(errno);
        return false;
    }
    ::closedir(dir);
    m_folder = folder;
    m_error.clear();
    m_index.Clear();
    m_monthName.clear();
    m_watching = false;
    ListMonths();
    SeekHead();
    return true;
}

void Journal::SetMatch(JournalMatch match) { m_match = std::move(match); }

void Journal::SetRange(DWORD first, DWORD last) {
    m_first = first;
    m_last = last;
}

void Journal::ListMonths() {
    m_months.clear();
    for (const MonthFileEntry& month : FindMonthFiles(m_folder, m_family.extension)) m_months.push_back(month.name);
    std::ranges::sort(m_months);  // oldest first: "YYYYMM.EXT" sorts as its month
    // A month file deleted while indexed stays in the order: its units are still read.
    const auto at = std::ranges::lower_bound(m_months, m_monthName);
    if (!m_monthName.empty() && (at == m_months.end() || *at != m_monthName)) m_months.insert(at, m_monthName);
    const auto indexed = std::ranges::find(m_months, m_monthName);
    m_month = m_monthName.empty() ? 0 : static_cast<std::size_t>(indexed - m_months.begin());
    m_lengths.clear();
    for (std::size_t m = 0; m < m_months.size(); ++m) {
        const auto look = CFile::IdentityAndLengthOf(PathOf(m).c_str());
        m_lengths.push_back(look ? look->second : 0);
    }
}

void Journal::Load(std::size_t m) {
    if (!m_monthName.empty() && m_monthName == m_months[m]) return;
    Build(m);
}

void Journal::Build(std::size_t m, std::uint64_t sortedEnd) {
    m_monthName = m_months[m];
    m_month = m;
    m_current.reset();  // it named a unit of the index replaced now
    m_unit = {};
    m_index.Build(PathOf(m), m_faults, sortedEnd);
}

std::optional<std::size_t> Journal::MonthFrom(std::ptrdiff_t m, std::ptrdiff_t step) const {
    for (; m >= 0 && m < static_cast<std::ptrdiff_t>(m_months.size()); m += step) {
        const auto seconds = SecondsOf(m_months[static_cast<std::size_t>(m)]);
        if (seconds && seconds->first <= m_last && seconds->end > m_first) return static_cast<std::size_t>(m);
    }
    return std::nullopt;
}

void Journal::SeekMonth(std::ptrdiff_t m, std::ptrdiff_t step, bool atEnd) {
    DropDetours();
    m_current.reset();
    m_unit = {};
    const auto found = MonthFrom(m, step);
    // Without a month of the range, the position rests at that end of the order.
    if (found) Load(*found);
    else if (!m_months.empty())
        Load(static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(m, 0, std::ssize(m_months) - 1)));
    m_gap = atEnd ? m_index.Size() : 0;
}

void Journal::SeekHead() { SeekMonth(0, 1, false); }

void Journal::SeekTail() { SeekMonth(static_cast<std::ptrdiff_t>(m_months.size()) - 1, -1, true); }

void Journal::SeekTime(DWORD t) {
    const std::string prefix = MonthPrefixOf(t);
    const auto month =
        std::ranges::find_if(m_months, [&](const std::string& name) { return name.substr(0, 6) >= prefix; });
    if (month == m_months.end()) return SeekTail();
    SeekMonth(month - m_months.begin(), 1, false);
    if (m_monthName == *month) m_gap = m_index.LowerBound(t);
}

bool Journal::SeekCursor(std::string_view text) {
    const auto cursor = JournalCursor::Parse(text);
    if (!cursor || cursor->file.substr(7) != m_family.extension) return false;
    const auto month = std::ranges::lower_bound(m_months, cursor->file);
    if (month == m_months.end()) {
        SeekTail();
    } else if (*month != cursor->file) {  // the month is gone: what follows it comes next
        SeekMonth(month - m_months.begin(), 1, false);
    } else {
        DropDetours();
        // Units at or after the cursor's `e` came after the sorted ones when it was given, and do so again.
        Build(static_cast<std::size_t>(month - m_months.begin()),
              cursor->sortedEnd.value_or(std::numeric_limits<std::uint64_t>::max()));
        PlaceAfter(*cursor);
        if (cursor->detour) m_detours.push_back(*cursor->detour);
    }
    return true;
}

void Journal::PlaceAfter(const JournalCursor& cursor) {
    const auto unit = m_index.Find(cursor);
    m_gap = unit ? *unit + 1 : m_index.UpperBound(cursor.time);
}

bool Journal::Next() {
    if (m_months.empty()) return false;
    if (!m_left && !m_detours.empty()) BeginDetour();
    for (;;) {
        if (m_monthName.empty()) Load(m_month);
        while (m_gap < m_index.Size())
            if (Accept(m_gap++, false)) return true;
        if (BeginDetour()) continue;
        if (m_left) {
            EndDetour();
            continue;
        }
        const auto next = MonthFrom(static_cast<std::ptrdiff_t>(m_month) + 1, 1);
        if (!next) return false;
        Load(*next);
        m_gap = 0;
    }
}

bool Journal::Previous() {
    if (m_months.empty()) return false;
    for (;;) {
        if (m_monthName.empty()) Load(m_month);
        while (m_gap > 0)
            if (Accept(--m_gap, true)) return true;
        const auto before = MonthFrom(static_cast<std::ptrdiff_t>(m_month) - 1, -1);
        if (!before) return false;
        Load(*before);
        m_gap = m_index.Size();
    }
}

bool Journal::Accept(std::size_t i, bool backward) {
    const IndexedUnit& unit = m_index[i];
    if (unit.time < m_first || unit.time > m_last) return false;
    const auto bytes = m_index.Bytes(i, backward);
    if (bytes.empty()) {  // cut off or unreadable since it was indexed: said, not passed over unseen
        m_faults.push_back({MonthFileDamage{m_index.Path(), unit.offset, "the file no longer holds this unit whole"}});
        return false;
    }
    const JournalKeys keys = m_family.keys(bytes);
    if (!keys.shown) return false;
    if (m_match.type >= 0 && keys.type != m_match.type) return false;
    if (m_match.group >= 0 && keys.group != m_match.group && keys.parentGroup != m_match.group) return false;
    if (m_match.channel >= 0 && keys.channel != m_match.channel) return false;
    if (!m_match.text.empty()) {
        m_family.render(bytes, unit.offset, m_scratch);
        if (m_scratch.heading.find(m_match.text) == std::string::npos &&
            m_scratch.body.find(m_match.text) == std::string::npos)
            return false;
    }
    m_current = i;
    m_keys = keys;
    m_unit = bytes;
    return true;
}

std::uint64_t Journal::Offset() const { return m_current ? m_index[*m_current].offset : 0; }

void Journal::Render(JournalText& out) const { m_family.render(m_unit, Offset(), out); }

std::string Journal::Cursor() const {
    if (!m_current) return {};
    const IndexedUnit& unit = m_index[*m_current];
    // Inside a detour, the position left, and how far the detour has come.
    if (m_left && m_left->last) {
        JournalCursor left = *m_left->last;
        left.detour = JournalCursor::Detour{m_monthName, unit.offset + unit.length};
        return left.Text();
    }
    const JournalCursor cursor{m_monthName, unit.offset, unit.time, m_family.Hash(m_unit),
                               m_index.OrdinalOf(*m_current), m_index.SortedEnd(), {}};
    return cursor.Text();
}

void Journal::DropDetours() {
    m_detours.clear();
    m_left.reset();
}

bool Journal::BeginDetour() {
    while (!m_detours.empty()) {
        const JournalCursor::Detour detour = m_detours.front();
        m_detours.erase(m_detours.begin());
        const auto month = std::ranges::find(m_months, detour.file);
        if (month == m_months.end()) continue;  // gone since
        if (!m_left)
            m_left = Left{m_monthName, m_index.SortedEnd(),
                          m_gap > 0 ? std::optional(m_index.CursorOf(m_gap - 1, m_monthName)) : std::nullopt};
        Build(static_cast<std::size_t>(month - m_months.begin()), detour.from);
        m_gap = m_index.SortedCount();
        return true;
    }
    return false;
}

void Journal::EndDetour() {
    const Left left = *m_left;
    m_left.reset();
    const auto month = std::ranges::lower_bound(m_months, left.month);
    if (month == m_months.end() || *month != left.month) {  // gone since: what follows it comes next
        SeekMonth(month - m_months.begin(), 1, false);
        return;
    }
    Build(static_cast<std::size_t>(month - m_months.begin()), left.sortedEnd);
    m_gap = 0;
    if (left.last) PlaceAfter(*left.last);
}

bool Journal::Wait(int timeoutMs) {
    if (!m_watching) m_watch.Watch(m_folder);
    m_watching = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Refresh()) return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        m_watch.Wait(static_cast<int>(left.count()));
    }
}

bool Journal::Refresh() {
    // Reading appended units may refill the window that holds the current unit's bytes.
    m_current.reset();
    m_unit = {};
    std::vector<std::string> months = m_months;
    std::vector<std::uint64_t> lengths = m_lengths;
    ListMonths();
    bool more = QueueEarlierAppends(months, lengths);
    // A month after the indexed one that is new or changed may hold more.
    for (std::size_t m = m_month + (m_monthName.empty() ? 0 : 1); m < m_months.size(); ++m) {
        const auto was = std::ranges::find(months, m_months[m]);
        more = more || was == months.end() || lengths[static_cast<std::size_t>(was - months.begin())] != m_lengths[m];
    }
    if (m_monthName.empty()) return more;
    switch (m_index.Look()) {
    case MonthIndex::Change::grown:
        return m_index.Extend(m_faults) != 0 || more;
    case MonthIndex::Change::replaced:
        Reindex();
        return true;
    case MonthIndex::Change::none:
        break;
    }
    return more;
}

bool Journal::QueueEarlierAppends(const std::vector<std::string>& months, const std::vector<std::uint64_t>& lengths) {
    const std::string& position = m_left ? m_left->month : m_monthName;
    bool queued = false;
    for (std::size_t m = 0; m < m_months.size() && m_months[m] < position; ++m) {
        if (m_months[m] == m_monthName) continue;  // a detour's month: its appends are read as it is followed
        const auto was = std::ranges::find(months, m_months[m]);
        const std::uint64_t before = was == months.end() ? 0 : lengths[static_cast<std::size_t>(was - months.begin())];
        if (m_lengths[m] <= before) continue;
        queued = true;
        if (std::ranges::none_of(m_detours, [&](const JournalCursor::Detour& d) { return d.file == m_months[m]; }))
            m_detours.push_back({m_months[m], before});
    }
    return queued;
}

void Journal::Reindex() {
    std::optional<JournalCursor> last;
    if (m_gap > 0) last = m_index.CursorOf(m_gap - 1, m_monthName);
    m_index.Build(PathOf(m_month), m_faults);
    m_gap = 0;
    if (last) PlaceAfter(*last);
}

std::vector<Journal::Fault> Journal::TakeFaults() {
    std::vector<Fault> fresh;
    for (Fault& fault : m_faults) {
        const char* kind = fault.torn ? "torn" : fault.hidden ? "hidden" : "damage";
        const std::string key = fault.damage.path + "@" + std::to_string(fault.damage.offset) + kind;
        if (std::ranges::find(m_reported, key) != m_reported.end()) continue;
        m_reported.push_back(key);
        fresh.push_back(std::move(fault));
    }
    m_faults.clear();
    return fresh;
}
