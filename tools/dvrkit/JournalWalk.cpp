#include "tools/dvrkit/JournalWalk.h"

#include <iostream>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/CursorFile.h"

namespace {

JournalOutput OutputOf(const JournalOptions& o) {
    if (o.jsonLines || o.output == "json-lines") return JournalOutput::jsonLines;
    return o.output == "cat" ? JournalOutput::cat : JournalOutput::shortText;
}

CommandError FaultError(const Journal::Fault& fault, const JournalFamily& family) {
    // A file that could not be read at all is no sign of damage: the command could not do its job.
    if (fault.unreadable) return {fault.damage.path + ": " + fault.damage.reason};
    if (fault.rival && family.rival)
        return {fault.damage.path + ": this is a " + family.rival->kind + ", not a " + family.units->kind, 2};
    return {DescribeDamage(fault.damage), 2};
}

}  // namespace

JournalWalk::JournalWalk(Journal& journal, const JournalSource& source, const JournalOptions& o, bool following)
    : m_journal(journal), m_source(source), m_options(o), m_following(following), m_printer(OutputOf(o), o.utc) {
    const bool json = OutputOf(o) == JournalOutput::jsonLines;
    m_text.wantText = !json;
    m_text.wantFields = json;
}

void JournalWalk::Start(const std::optional<std::string>& cursor) {
    if (cursor && !m_journal.SeekCursor(*cursor))
        throw CommandError{"--cursor-file: " + m_options.cursorFile + " holds no cursor of this folder's journal"};
    if (!cursor && m_options.lines < 0) {
        if (m_following) m_journal.SeekTail();
        else m_journal.SeekHead();
    }
    CheckFaults();
    if (m_options.lines < 0) return;
    // What was printed up to the cursor bounds the last entries: the first unit before the
    // position is the last one not to print again.
    std::optional<Place> bound;
    if (cursor && m_journal.Previous()) bound = Place{m_journal.Path(), m_journal.Offset()};
    CheckFaults();
    m_journal.SeekTail();
    BackFromTail(bound);
    CheckFaults();
}

void JournalWalk::BackFromTail(const std::optional<Place>& bound) {
    // Next gives again what Previous gave last, so the walk stops before the entries to print.
    for (long long stepped = 0; stepped < m_options.lines && m_journal.Previous(); ++stepped) {
        if (bound && m_journal.Path() == bound->path && m_journal.Offset() == bound->offset) {
            m_journal.Next();  // printed before
            return;
        }
    }
}

void JournalWalk::PrintOnward() {
    while (m_journal.Next()) {
        CheckFaults();
        PrintCurrent();
    }
    CheckFaults();
}

void JournalWalk::PrintBackward() {
    m_journal.SeekTail();
    CheckFaults();
    for (long long printed = 0; m_options.lines < 0 || printed < m_options.lines; ++printed) {
        if (!m_journal.Previous()) break;
        CheckFaults();
        PrintCurrent();
    }
    CheckFaults();
}

void JournalWalk::PrintCurrent() {
    m_journal.Render(m_text);
    m_printer.Print(m_journal.Keys().time, m_text);
    if (m_options.showCursor || !m_options.cursorFile.empty()) m_lastCursor = m_journal.Cursor();
}

void JournalWalk::EndBatch() {
    if (m_options.showCursor && !m_following && !m_lastCursor.empty()) m_printer.Line("-- cursor: " + m_lastCursor);
    m_printer.Flush();
    if (m_options.cursorFile.empty() || m_lastCursor == m_savedCursor) return;
    WriteCursorFile(m_options.cursorFile, m_lastCursor);
    m_savedCursor = m_lastCursor;
}

void JournalWalk::CheckFaults() {
    for (const Journal::Fault& fault : m_journal.TakeFaults()) {
        if (fault.hidden) {
            if (m_source.reportHidden) ReportHidden(fault);
        } else if (fault.torn) {
            if (!m_following)
                std::cerr << "dvrkit: warning: " << fault.damage.path << " ends in " << fault.tornBytes
                          << " bytes of an entry not yet whole; the entries before them are shown\n";
        } else {
            EndBatch();
            throw FaultError(fault, m_source.family);
        }
    }
}

void JournalWalk::ReportHidden(const Journal::Fault& fault) {
    try {
        m_source.reportHidden(fault.damage.path, fault.hiddenUnits, fault.units, fault.damage.offset);
    } catch (const CommandError&) {
        EndBatch();
        throw;
    }
}
