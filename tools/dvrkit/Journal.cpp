#include "tools/dvrkit/Journal.h"

#include <signal.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <iostream>

#include "module/Journal.h"
#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/CursorFile.h"
#include "tools/dvrkit/JournalWalk.h"
#include "tools/dvrkit/Pager.h"
#include "tools/dvrkit/TempFiles.h"

namespace {

// How long follow waits for appends at a time; SIGINT and SIGTERM are seen at least this often.
constexpr int kFollowWaitMs = 250;

// The first and the last second of the range asked for.
struct Range {
    DWORD first = 0, last = 0xFFFFFFFF;
};

// "YYYY-MM" or "YYYY-MM-DD" (the month's or day's first second, or with `end` its last) or a
// local time "YYYY-MM-DD HH:MM:SS" (a "T" may stand for the blank).
DWORD BoundArgument(std::string text, bool end, const char* option) {
    if (text.size() > 10 && text[10] == 'T') text[10] = ' ';
    if (const auto month = ParseMonthLabel(text); month && month->year >= 1970 && month->year <= 2105) {
        if (!end) return LocalMidnight(month->year, month->month, 1);
        const bool december = month->month == 12;
        return LocalMidnight(month->year + (december ? 1 : 0), december ? 1 : month->month + 1, 1) - 1;
    }
    if (const auto day = ParseDayLabel(text); day && day->year >= 1970 && day->year <= 2105) {
        const LocalDay d = DayOf(*day);
        return end ? d.Last() : d.midnight;
    }
    if (const auto time = ParseLocalTime(text)) return *time;
    throw CommandError{std::string(option) + ": '" + text + "' is not a month YYYY-MM, a day YYYY-MM-DD or a local time YYYY-MM-DD HH:MM:SS"};
}

Range RangeOf(const JournalOptions& o) {
    Range range;
    if (!o.day.empty()) {
        const LocalDay d = DayOf(DayArgument(o.day));
        range = {d.midnight, d.Last()};
    }
    if (!o.since.empty()) range.first = std::max(range.first, BoundArgument(o.since, false, "--since"));
    if (!o.until.empty()) range.last = std::min(range.last, BoundArgument(o.until, true, "--until"));
    return range;
}

void CheckOutputOptions(const JournalOptions& o) {
    if (o.jsonLines && !o.output.empty() && o.output != "json-lines")
        throw CommandError{"--json-lines is --output json-lines; give one of them"};
}

// The folder's journal with the command's --type and --grep, in `range`. Both are set before the
// folder is opened, so that no month outside the range is ever read.
void OpenJournal(Journal& journal, const JournalOptions& o, const JournalFamily& family, Range range = {}) {
    CheckOutputOptions(o);
    RequireFolder(o.dir);
    const TypeFilter filter = ParseTypeFilter(o.type, family);
    journal.SetMatch({filter.type, filter.group, -1, o.grep});
    journal.SetRange(range.first, range.last);
    if (!journal.Open(o.dir)) throw CommandError{o.dir + ": " + journal.Error()};
}

std::optional<std::string> StoredCursor(const JournalOptions& o) {
    return o.cursorFile.empty() ? std::nullopt : ReadCursorFile(o.cursorFile);
}

volatile sig_atomic_t stopFollowing = 0;
extern "C" void StopFollowing(int) { stopFollowing = 1; }

// SIGINT and SIGTERM end follow's loop, which then ends with exit 0. The handler that removes
// temporary files (the cursor file's) goes first, so that it cannot take these signals over.
void StopOnSignals() {
    InstallTempFileHandler();
    struct sigaction action {};
    action.sa_handler = StopFollowing;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void AddOutputOptions(CLI::App& command, JournalOptions& o, bool following) {
    command.add_option("-n,--lines", o.lines, following ? "First the last N entries, then what is appended" : "Only the last N entries")
        ->type_name("N")
        ->check(CLI::NonNegativeNumber);
    command.add_option("--cursor-file", o.cursorFile,
                       std::string("Start after the cursor stored in FILE, if it exists; store the last printed entry's "
                                   "cursor there ") + (following ? "after each batch" : "after printing"))
        ->type_name("FILE");
    command.add_option("--output", o.output,
                       "short: each entry's time and text (the default); cat: the text alone; json-lines: as "
                       "--json-lines")
        ->check(CLI::IsMember({"short", "cat", "json-lines"}));
    command.add_flag("--utc", o.utc, "Times in UTC instead of local time");
    command.add_flag("--json-lines", o.jsonLines,
                     "One JSON object per line, its time in ISO 8601 with the zone's offset");
}

void AddJournalOptions(CLI::App& command, JournalOptions& o, const JournalFamily& family, bool following) {
    if (!following) {
        command.add_option("--since", o.since, "From this month (YYYY-MM), day (YYYY-MM-DD) or local time (YYYY-MM-DD HH:MM:SS) on");
        command.add_option("--until", o.until, "Up to the end of this month or day, or up to this local time");
        command.add_flag("--reverse", o.reverse, "Newest first");
    }
    command.add_option("--grep", o.grep, "Only entries whose text contains TEXT");
    std::string names;
    for (const std::string& name : family.groupNames) names += (names.empty() ? "" : ", ") + name;
    command.add_option("--type", o.type, "Only entries of this type: a number, or a name (" + names + ")");
    AddOutputOptions(command, o, following);
}

}  // namespace

TypeFilter ParseTypeFilter(const std::string& text, const JournalFamily& family) {
    if (text.empty()) return {};
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size() && number >= 0 && number <= 255) return {number, -1};
    for (size_t g = 0; g < family.groupNames.size(); ++g)
        if (strcasecmp(family.groupNames[g].c_str(), text.c_str()) == 0) return {-1, static_cast<int>(g)};
    throw CommandError{"--type: '" + text + "' is neither a number from 0 to 255 nor a type name (see --help)"};
}

JournalFamily WithRival(const JournalFamily& family, const MonthFileUnits& rival) {
    JournalFamily withRival = family;
    withRival.rival = &rival;
    return withRival;
}

CLI::App* AddShowCommand(CLI::App& group, const std::string& help, const char* folderHelp, const char* jsonHelp,
                         JournalOptions& o, const JournalSource& source, std::function<void()> showDay) {
    CLI::App* show = group.add_subcommand("show", help);
    show->add_option("DIR", o.dir, folderHelp)->required();
    show->add_option("DAY", o.day, "YYYY-MM-DD");
    AddJournalOptions(*show, o, source.family, false);
    show->add_flag("--show-cursor", o.showCursor, "After the entries, the last one's cursor: a line \"-- cursor: TEXT\"");
    show->add_flag("--no-pager", o.noPager, "Never through a pager ($PAGER, else less), which a terminal gets otherwise");
    show->add_flag("--json", o.dayJson, jsonHelp);
    show->callback([&o, &source, showDay = std::move(showDay)] {
        Pager pager(!o.noPager);
        if (WantsJournal(o)) ShowJournal(o, source);
        else showDay();
    });
    return show;
}

void AddFollowCommand(CLI::App& group, const char* what, const char* folderHelp, JournalOptions& o,
                      const JournalSource& source) {
    CLI::App* follow = group.add_subcommand(
        "follow", std::string("Print each ") + what + " as it is written into the folder, by any process, until "
                  "interrupted (Ctrl-C, exit 0); with -n, the last N first");
    follow->add_option("DIR", o.dir, folderHelp)->required();
    AddJournalOptions(*follow, o, source.family, true);
    follow->callback([&o, &source] { FollowJournal(o, source); });
}

bool WantsJournal(const JournalOptions& o) {
    return o.day.empty() || !o.since.empty() || !o.until.empty() || !o.grep.empty() || o.reverse || o.jsonLines ||
           o.lines >= 0 || !o.cursorFile.empty() || o.showCursor || !o.output.empty() || o.utc;
}

void ShowJournal(const JournalOptions& o, const JournalSource& source) {
    if (o.dayJson)
        throw CommandError{"--json prints one DAY as the browser groups it, without the journal's options; "
                           "for the journal use --json-lines"};
    if (o.reverse && !o.cursorFile.empty())
        throw CommandError{"--cursor-file goes on from where the last run ended, oldest first; it cannot be given "
                           "with --reverse"};
    Journal journal(source.family);
    OpenJournal(journal, o, source.family, RangeOf(o));
    JournalWalk walk(journal, source, o, false);
    if (o.reverse) {
        walk.PrintBackward();
    } else {
        walk.Start(StoredCursor(o));
        walk.PrintOnward();
    }
    walk.EndBatch();
}

void FollowJournal(const JournalOptions& o, const JournalSource& source) {
    Journal journal(source.family);
    OpenJournal(journal, o, source.family);
    StopOnSignals();
    JournalWalk walk(journal, source, o, true);
    walk.Start(StoredCursor(o));
    walk.PrintOnward();
    walk.EndBatch();
    std::cerr << "dvrkit: following " << o.dir << "; Ctrl-C ends\n";
    while (!stopFollowing) {
        journal.Wait(kFollowWaitMs);  // damage found there is taken by the walk
        walk.PrintOnward();
        walk.EndBatch();
    }
}
