#pragma once
// The browsers' folders read as one journal: `show` over any range of days and months, oldest
// first, narrowed by type and text, as plain lines or one JSON object per line; and `follow`,
// which prints what is appended to the folder's month files, by this or any other process.
#include <functional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "platform/core/Types.h"

struct JournalEntry {
    DWORD time = 0;
    int type = 0;         // the number --type N selects
    int group = -1;       // the named group --type NAME selects
    int parentGroup = -1; // a group holding that group, which --type NAME also selects
    std::string heading;  // the line after the time
    std::string body;     // further lines, each ending in "\n"; may be empty
    nlohmann::json json;  // the entry's fields for --json-lines
};

// One family of month files as the journal reads it.
struct JournalSource {
    const char* extension;
    std::vector<std::string> groupNames;  // the names --type accepts, by group
    // The whole entries of one month file, in file order. A torn tail (a write in progress, or
    // cut short) ends the list and is counted in `tornBytes`; damage raises CommandError (exit 2).
    std::vector<JournalEntry> (*read)(const std::string& path, std::uint64_t& tornBytes);
};

struct JournalOptions {
    std::string dir, day, since, until, grep, type;
    bool reverse = false, jsonLines = false;
    bool dayJson = false;  // --json: one DAY as the browser groups it, which the journal does not print
};

// Adds `show DIR [DAY]` to `group` with the journal's options and --json (described by
// `jsonHelp`); `showDay` runs for one DAY without them (the browser's own view of a day),
// ShowJournal otherwise.
CLI::App* AddShowCommand(CLI::App& group, const std::string& help, const char* folderHelp, const char* jsonHelp,
                         JournalOptions& o, const JournalSource& source, std::function<void()> showDay);
// Adds `follow DIR` to `group`: FollowJournal, printing each `what` appended.
void AddFollowCommand(CLI::App& group, const char* what, const char* folderHelp, JournalOptions& o,
                      const JournalSource& source);
// Whether a show command asks for the journal rather than one day as the browser's tree shows it.
bool WantsJournal(const JournalOptions& o);
// The entries of the folder in the asked range, oldest first (newest first with --reverse); a
// CommandError for --json, whose form is one day's.
void ShowJournal(const JournalOptions& o, const JournalSource& source);
// Prints the entries appended to the folder's month files until SIGINT or SIGTERM (exit 0).
void FollowJournal(const JournalOptions& o, const JournalSource& source);
// The --type filter: nothing when empty, else a number or one of the source's group names.
struct TypeFilter {
    int type = -1, group = -1;
    bool Matches(int entryType, int entryGroup, int entryParent = -1) const {
        return (type < 0 || entryType == type) && (group < 0 || entryGroup == group || entryParent == group);
    }
};
TypeFilter ParseTypeFilter(const std::string& text, const JournalSource& source);

// The log, event and first-generation folders as journals (the type names come from the host's
// strings).
JournalSource Log2JournalSource();
JournalSource EventJournalSource();
JournalSource Log1JournalSource();
