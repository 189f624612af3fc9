#pragma once
// The journal's entries as the tool prints them, gathered in one reused buffer and written to
// standard output in large blocks: a month of a million entries goes out in well under a second.
//   short       "2005-04-02 09:00:00 HEADING", then each body line indented by two blanks
//   cat         the heading and the body lines alone
//   json-lines  one JSON object per entry: "time" in ISO 8601 with the zone's offset, "epoch"
//               (the stored seconds) and the entry's fields, keys in byte order as the tool's
//               JSON documents write them
// Texts from the files are escaped for a terminal (TextOutput.h) except in JSON, which keeps them
// whole.
#include <string>
#include <string_view>
#include <vector>

#include "module/JournalFamily.h"
#include "tools/dvrkit/TimeText.h"

enum class JournalOutput { shortText, cat, jsonLines };

class JournalPrinter {
public:
    JournalPrinter(JournalOutput output, bool utc) : m_output(output), m_times(utc) {}
    void Print(DWORD time, const JournalText& text);
    // A line of its own after the entries ("-- cursor: ...").
    void Line(std::string_view text);
    // Writes what is gathered to standard output; CommandError when any of it was lost.
    void Flush();

private:
    void AppendShort(DWORD time, const JournalText& text);
    void AppendCat(const JournalText& text);
    void AppendJson(DWORD time, const JournalText& text);
    // Each line of `body`, shown as text after `indent`.
    void AppendBody(std::string_view body, std::string_view indent);
    void WriteBlock();

    JournalOutput m_output;
    TimeTexts m_times;
    std::string m_block;
    // The JSON keys in byte order: the entry's fields by index, time and epoch as -2 and -1; for
    // the field names of the last entry.
    void SortKeys(const JournalText& text);
    std::vector<const char*> m_names;
    std::vector<int> m_order;
};
