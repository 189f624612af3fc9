#include "tools/dvrkit/EventMarks.h"

#include <algorithm>
#include <iostream>

#include "tools/dvrkit/Commands.h"

void ReportUnmarkedRecords(const std::string& path, const EventFileContents& contents) {
    const auto unmarked = static_cast<size_t>(std::ranges::count(contents.records, false, &EventFileEntry::valid));
    if (!unmarked) return;
    const auto first = std::ranges::find(contents.records, false, &EventFileEntry::valid);
    const std::string where = std::to_string(unmarked) + " of " + std::to_string(contents.records.size()) +
                              " records without the event mark, the first at offset " + std::to_string(first->offset);
    if (unmarked == contents.records.size()) throw CommandError{path + ": not an event file: " + where, 2};
    std::cerr << "dvrkit: warning: " << path << ": " << where << "; they are not shown\n";
}
