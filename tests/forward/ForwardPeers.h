#pragma once
// What the forwarding tests share: months of each family written as a host writes them, the
// entries the journal gives for them (what the server must receive), the messages as the server
// parsed them, and the tool as a real process.
#include <sys/types.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "module/JournalFamily.h"

// The family `name` ("log2", "event", "log1") as the tool's --family names it.
const JournalFamily& FamilyNamed(const std::string& name);

// Writes entries `firstIndex` to `firstIndex + count` of family `name` into `folder`, a minute
// apart from the start of March 2024 (local time),
// with texts that need escaping in structured data ('"', '\', ']') and letters beyond ASCII.
void WriteMonth(const std::string& name, const std::string& folder, int count, int firstIndex = 0);

// One entry as the server should show it: its structured-data parameters in order and its MSG.
struct ExpectedEntry {
    std::vector<std::pair<std::string, std::string>> params;
    std::string msg;
    auto operator<=>(const ExpectedEntry&) const = default;
};
void PrintTo(const ExpectedEntry& entry, std::ostream* out);
// The folder's entries in the journal's order.
std::vector<ExpectedEntry> ExpectedEntries(const std::string& family, const std::string& folder);
// A received message as the same form, from rsyslog's parsed properties.
ExpectedEntry ReceivedEntry(const nlohmann::json& message);
// The received messages in that form.
std::vector<ExpectedEntry> ReceivedEntries(const std::vector<nlohmann::json>& messages);

class RsyslogServer;
// `dvrkit forward FOLDER` to the server's port for `scheme` (RsyslogServer), trusting its CA.
std::vector<std::string> ForwardArguments(const RsyslogServer& server, const std::string& scheme,
                                          const std::string& folder, const std::string& family,
                                          const std::string& cursorFile, const char* timeoutSeconds = "20");

// How often each entry arrived (by the fields and text, which hold the entry's offset).
std::map<ExpectedEntry, int> Arrivals(const std::vector<nlohmann::json>& messages);

// The tool under test with `arguments` (each quoted for the shell), run to its end.
struct ToolRun {
    int status = -1;
    std::string errors;  // its stderr
};
ToolRun RunTool(const std::vector<std::string>& arguments);

// The tool started in the background; its stderr goes to `errorFile`.
pid_t StartTool(const std::vector<std::string>& arguments, const std::string& errorFile);
// Waits for it; its exit status (-1 when a signal ended it) and the CPU seconds it used.
std::pair<int, double> WaitTool(pid_t pid);
