#include "tools/dvrkit/EventMarks.h"

#include <algorithm>
#include <iostream>

#include "tools/dvrkit/Commands.h"

void ReportUnmarkedRecords(const std::string& path, const EventFileContents& contents) {
    const auto unmarked = static_cast<size_t>(std::ranges::count(contents.records, false, &EventFileEntry::valid));
    if (!unmarked) return;
    const auto first = std::ranges::find(contents.records, false, &EventFileEntry::valid);
    ReportUnmarkedRecords(path, unmarked, contents.records.size(), first->offset);
}

void ReportUnmarkedRecords(const std::string& path, std::uint64_t unmarked, std::uint64_t records,
                           std::uint64_t firstOffset) {
    const std::string where = std::to_string(unmarked) + " of " + std::to_string(records) +
                              " records without the event mark, the first at offset " + std::to_string(firstOffset);
    if (unmarked == records) throw CommandError{path + ": not an event file: " + where, 2};
    std::cerr << "dvrkit: warning: " << path << ": " << where << "; they are not shown\n";
}
