#pragma once
// The demo host's data: a realistic month of logs and events written through the library's own
// writers, as a DVR would have written them.
#include <string>

struct DemoSummary {
    int logs = 0, records = 0, events = 0, entries = 0, pendingEntries = 0;
    std::string logFiles, eventFiles, entryFiles;  // the month files written (space-separated)
    std::string entryFolder;  // first-generation month files are also YYYYMM.log: they get a folder of their own
};

// Writes the last full month before today into `dir`: logs of every type 1 to 8 in all three
// record formats on several days, some across midnight, events of both sources and sides, and
// first-generation entries of all five types in DIR/log1 (some completed later, some left pending).
DemoSummary WriteDemoMonth(const std::string& dir);
