#pragma once
// The browsers' folders read through the library's journal (module/Journal.h): `show` over any
// range of days and months, oldest first, narrowed by type and text, and `follow`, which prints
// what is appended to the folder's month files, by this or any other process. The commands parse
// their options and print; the journal gives the entries in time order.
#include <functional>
#include <string>

#include <CLI/CLI.hpp>

#include "module/JournalFamily.h"

struct JournalOptions {
    std::string dir, day, since, until, grep, type, output, cursorFile;
    long long lines = -1;  // -n: the last N entries; -1 for all
    bool reverse = false, jsonLines = false, showCursor = false, utc = false, noPager = false;
    bool dayJson = false;  // --json: one DAY as the browser groups it, which the journal does not print
};

// A family of month files as the commands read it.
struct JournalSource {
    JournalFamily family;
    // Says on stderr that `hidden` of a month file's `units` are never shown, the first at
    // `firstOffset`, or raises CommandError; nullptr where the browser leaves them out silently.
    void (*reportHidden)(const std::string& path, std::uint64_t hidden, std::uint64_t units,
                         std::uint64_t firstOffset) = nullptr;
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

// The --type filter: nothing when empty, else a number or one of the family's group names.
struct TypeFilter {
    int type = -1, group = -1;
    bool Matches(int entryType, int entryGroup, int entryParent = -1) const {
        return (type < 0 || entryType == type) && (group < 0 || entryGroup == group || entryParent == group);
    }
};
TypeFilter ParseTypeFilter(const std::string& text, const JournalFamily& family);

// `family` with the other family that names its month files alike, so that a file of that kind
// is named as such instead of being called damaged.
JournalFamily WithRival(const JournalFamily& family, const MonthFileUnits& rival);
