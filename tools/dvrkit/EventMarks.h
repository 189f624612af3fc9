#pragma once
// Event records without the event mark. Earlier recorders left such records in their files (a
// text of 16 or more characters runs over the mark), so they are part of the file, not damage:
// readers leave them out as the browser does and say so on stderr. A file in which no record
// carries the mark is not an event file at all.
#include <cstdint>
#include <string>

#include "event/EventFileReader.h"

// Warns on stderr of the records without the mark; raises CommandError (exit 2) when the file
// has records and none of them is marked.
void ReportUnmarkedRecords(const std::string& path, const EventFileContents& contents);
// The same from the counts: `unmarked` of `records`, the first at `firstOffset`.
void ReportUnmarkedRecords(const std::string& path, std::uint64_t unmarked, std::uint64_t records,
                           std::uint64_t firstOffset);
