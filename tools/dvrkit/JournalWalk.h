#pragma once
// One run of `show` or `follow` over an open journal: where printing starts (after a stored
// cursor, at either end, the last -n entries), the entries printed, the faults met on the way,
// and the cursor saved after each batch.
#include <optional>
#include <string>

#include "module/Journal.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/JournalPrinter.h"

class JournalWalk {
public:
    JournalWalk(Journal& journal, const JournalSource& source, const JournalOptions& o, bool following);

    // Places the journal where printing starts: after `cursor` when there is one, else at the head
    // (following: the tail); then, with -n, back from the tail by that many entries, never before
    // where it would have started.
    void Start(const std::optional<std::string>& cursor);
    // Prints every entry from there on.
    void PrintOnward();
    // Prints the entries from the tail backwards, at most -n of them.
    void PrintBackward();
    // Writes out what was printed, then saves the last printed entry's cursor (--cursor-file).
    void EndBatch();
    // The last printed entry's cursor; empty before the first.
    const std::string& LastCursor() const { return m_lastCursor; }

private:
    struct Place {
        std::string path;
        std::uint64_t offset = 0;
    };
    // Steps back from the tail by up to -n entries, stopping after `bound`.
    void BackFromTail(const std::optional<Place>& bound);
    void PrintCurrent();
    // Ends the command at damage, after writing out and saving what was printed before it;
    // warns of a torn tail unless following, and of units never shown where the source names them.
    void CheckFaults();
    void ReportHidden(const Journal::Fault& fault);

    Journal& m_journal;
    const JournalSource& m_source;
    const JournalOptions& m_options;
    bool m_following;
    JournalPrinter m_printer;
    JournalText m_text;
    std::string m_lastCursor, m_savedCursor;
};
