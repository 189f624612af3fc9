#pragma once
// A folder of one family's month files read as one journal: month files oldest month first;
// within one month file by time, units of the same second in file order; units appended after the
// month was indexed after what was indexed, in file order. Only one month's index (time and
// offset of each unit) is held, never texts; units are read through a bounded window. Damage and
// torn tails are data (TakeFaults), never thrown.
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "module/FolderWatch.h"
#include "module/JournalFamily.h"
#include "module/MonthIndex.h"

struct JournalMatch {
    int type = -1;     // Keys().type must equal it
    int group = -1;    // Keys().group or parentGroup must equal it
    int channel = -1;  // Keys().channel must equal it
    std::string text;  // heading or body must contain it (renders only units that pass the rest)
};

class Journal {
public:
    explicit Journal(const JournalFamily& family);

    // The folder's month files; false (with Error()) when the folder cannot be read.
    bool Open(const std::string& folder);
    const std::string& Error() const { return m_error; }

    void SetMatch(JournalMatch match);       // Next/Previous skip units that do not match or are not shown
    void SetRange(DWORD first, DWORD last);  // Next/Previous skip units outside [first, last]

    // Before the first unit (Next gives it) / after the last (Previous gives it).
    void SeekHead();
    void SeekTail();
    // Before the first unit whose time is >= t (Next gives it; Previous gives the last one before t).
    void SeekTime(DWORD t);
    // After the unit the cursor names (Next gives the unit after it); false when the text is not a
    // cursor. A unit no longer found by offset, time and hash resumes after its second.
    bool SeekCursor(std::string_view cursor);

    bool Next();
    bool Previous();

    // The current unit (valid after Next/Previous returned true, until the next Seek or Wait).
    const JournalKeys& Keys() const { return m_keys; }
    std::span<const std::uint8_t> Unit() const { return m_unit; }
    const std::string& Path() const { return m_index.Path(); }
    std::uint64_t Offset() const;
    void Render(JournalText& out) const;
    // "v1;f=200503.log;o=12345;t=1110000000;h=<FNV-1a 64 of the unit, hex>;n=<same-second ordinal>;
    // e=<offset>" (see JournalCursor.h). Resuming from it gives every unit after this one exactly
    // once, also those appended to its month since with an earlier time.
    std::string Cursor() const;

    // Waits up to timeoutMs for something to be appended to the folder (a month file grown or a new
    // month file); true when Next may give more. Reads only the bytes after the last whole unit.
    // Units appended to a month before the position's are given next, in file order, before the
    // order goes on where it was.
    bool Wait(int timeoutMs);

    using Fault = JournalFault;
    // Damage and torn tails met since the last call, each once.
    std::vector<Fault> TakeFaults();

private:
    void ListMonths();
    // Indexes month m (an index into m_months) unless it is the one indexed.
    void Load(std::size_t m);
    // Indexes month m anew, the units that end by `sortedEnd` in time order and those after them in
    // file order.
    void Build(std::size_t m, std::uint64_t sortedEnd = std::numeric_limits<std::uint64_t>::max());
    // Forgets appends to earlier months still to be given: a seek sets the position anew.
    void DropDetours();
    // Leaves the position for the next earlier month with appends to give; false when none is left.
    bool BeginDetour();
    // Goes back to the position a detour left.
    void EndDetour();
    // Queues the appends to months before the position's that the last look found.
    bool QueueEarlierAppends(const std::vector<std::string>& months, const std::vector<std::uint64_t>& lengths);
    // The first month from m on, going by `step` (1 or -1), that may hold units of the range.
    std::optional<std::size_t> MonthFrom(std::ptrdiff_t m, std::ptrdiff_t step) const;
    // Seeks to the start (or the end) of the month first found from m by `step`.
    void SeekMonth(std::ptrdiff_t m, std::ptrdiff_t step, bool atEnd);
    // Whether unit i of the index is to be given; makes it the current unit if so.
    bool Accept(std::size_t i, bool backward);
    // Looks at the folder and the indexed month once; true when Next may give more.
    bool Refresh();
    // Re-indexes the current month, keeping the position after the last unit given.
    void Reindex();
    // Positions after the cursor's unit in the indexed month, or after its second.
    void PlaceAfter(const JournalCursor& cursor);
    std::string PathOf(std::size_t m) const { return m_folder + "/" + m_months[m]; }

    const JournalFamily& m_family;
    std::string m_folder, m_error;
    std::vector<std::string> m_months;  // month file names, oldest first
    std::vector<std::uint64_t> m_lengths;  // of each month file at the last look, for Wait
    MonthIndex m_index;
    std::string m_monthName;            // the month file m_index holds, when it holds one
    std::size_t m_month = 0;            // its place in m_months
    std::size_t m_gap = 0;              // the position: before unit m_gap of m_index
    std::optional<std::size_t> m_current;  // the unit last given
    JournalKeys m_keys;
    std::span<const std::uint8_t> m_unit;
    JournalMatch m_match;
    DWORD m_first = 0, m_last = 0xFFFFFFFF;
    mutable JournalText m_scratch;      // a unit's text while it is matched (its fields are not read)
    std::vector<Fault> m_faults;
    std::vector<std::string> m_reported;  // faults given out, so each goes out once
    // Appends to months before the position's, still to be given: each month from an offset on.
    std::vector<JournalCursor::Detour> m_detours;
    // While they are given: the position left, the month and the cursor of its last unit given.
    struct Left {
        std::string month;
        std::uint64_t sortedEnd = 0;
        std::optional<JournalCursor> last;
    };
    std::optional<Left> m_left;
    FolderWatch m_watch;
    bool m_watching = false;
};
