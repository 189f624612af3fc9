#pragma once
// The demo host's data: a realistic month of logs and events written through the library's own
// writers, as a DVR would have written them.
#include <string>

struct DemoSummary {
    int logs = 0, records = 0, events = 0;
    std::string logFiles, eventFiles;  // the month files written (space-separated)
};

// Writes the last full month before today into `dir`: logs of every type 1 to 8 in all three
// record formats on several days, some across midnight, and events of both sources and sides.
DemoSummary WriteDemoMonth(const std::string& dir);
