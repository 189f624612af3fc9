#include "tools/dvrkit/Journal.h"

#include <signal.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>
#include <strings.h>

#include "module/LocalDay.h"
#include "module/MonthFile.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

// How often follow looks at the folder's month files.
constexpr timespec kFollowInterval = {1, 0};

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

// Whether the month of a file's label has seconds in `range`.
bool MonthMeets(const std::string& label, const Range& range) {
    const auto month = ParseMonthLabel(label);
    // The seconds end on 2106-02-07, so February 2106 is the last month that holds entries.
    if (!month || month->year < 1970 || month->year * 100 + month->month > 210602) return false;
    const DWORD first = LocalMidnight(month->year, month->month, 1);
    const bool lastMonth = month->year == 2106 && month->month == 2;
    const DWORD end = lastMonth ? 0xFFFFFFFF
                                : LocalMidnight(month->month == 12 ? month->year + 1 : month->year,
                                                month->month == 12 ? 1 : month->month + 1, 1);
    return first <= range.last && end > range.first;
}

// "2005-05-02T10:00:00+02:00": local time with the zone's offset.
std::string IsoTime(DWORD time) {
    const time_t t = time;
    tm local{};
    localtime_r(&t, &local);
    char text[40];
    strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string iso = text;
    iso.insert(iso.size() - 2, ":");
    return iso;
}

struct Printer {
    const JournalOptions& o;
    TypeFilter filter;

    bool Wanted(const JournalEntry& e) const {
        if (!filter.Matches(e.type, e.group, e.parentGroup)) return false;
        return o.grep.empty() || e.heading.find(o.grep) != std::string::npos ||
               e.body.find(o.grep) != std::string::npos;
    }

    void Print(const JournalEntry& e) const {
        if (o.jsonLines) {
            nlohmann::json line = {{"time", IsoTime(e.time)}, {"epoch", e.time}};
            line.update(e.json);
            std::cout << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
            return;
        }
        std::cout << LocalTimeText(e.time) << " " << ShownText(e.heading) << "\n";
        for (size_t at = 0; at < e.body.size();) {
            const size_t end = std::min(e.body.find('\n', at), e.body.size());
            std::cout << "  " << ShownText(std::string_view(e.body).substr(at, end - at)) << "\n";
            at = end + 1;
        }
    }
};

void WarnTorn(const std::string& path, std::uint64_t tornBytes) {
    if (tornBytes)
        std::cerr << "dvrkit: warning: " << path << " ends in " << tornBytes
                  << " bytes of an entry not yet whole; the entries before them are shown\n";
}

volatile sig_atomic_t stopFollowing = 0;
extern "C" void StopFollowing(int) { stopFollowing = 1; }

struct Followed {
    off_t size = 0;
    size_t entries = 0;
};

}  // namespace

TypeFilter ParseTypeFilter(const std::string& text, const JournalSource& source) {
    if (text.empty()) return {};
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size() && number >= 0 && number <= 255) return {number, -1};
    for (size_t g = 0; g < source.groupNames.size(); ++g)
        if (strcasecmp(source.groupNames[g].c_str(), text.c_str()) == 0) return {-1, static_cast<int>(g)};
    throw CommandError{"--type: '" + text + "' is neither a number from 0 to 255 nor a type name (see --help)"};
}

namespace {

void AddJournalOptions(CLI::App& command, JournalOptions& o, const JournalSource& source, bool range) {
    if (range) {
        command.add_option("--since", o.since, "From this month (YYYY-MM), day (YYYY-MM-DD) or local time (YYYY-MM-DD HH:MM:SS) on");
        command.add_option("--until", o.until, "Up to the end of this month or day, or up to this local time");
        command.add_flag("--reverse", o.reverse, "Newest first");
    }
    command.add_option("--grep", o.grep, "Only entries whose text contains TEXT");
    std::string names;
    for (const std::string& name : source.groupNames) names += (names.empty() ? "" : ", ") + name;
    command.add_option("--type", o.type, "Only entries of this type: a number, or a name (" + names + ")");
    command.add_flag("--json-lines", o.jsonLines,
                     "One JSON object per line, its time in ISO 8601 with the zone's offset");
}

}  // namespace

CLI::App* AddShowCommand(CLI::App& group, const std::string& help, const char* folderHelp, const char* jsonHelp,
                         JournalOptions& o, const JournalSource& source, std::function<void()> showDay) {
    CLI::App* show = group.add_subcommand("show", help);
    show->add_option("DIR", o.dir, folderHelp)->required();
    show->add_option("DAY", o.day, "YYYY-MM-DD");
    AddJournalOptions(*show, o, source, true);
    show->add_flag("--json", o.dayJson, jsonHelp);
    show->callback([&o, &source, showDay = std::move(showDay)] {
        if (WantsJournal(o)) ShowJournal(o, source);
        else showDay();
    });
    return show;
}

void AddFollowCommand(CLI::App& group, const char* what, const char* folderHelp, JournalOptions& o,
                      const JournalSource& source) {
    CLI::App* follow = group.add_subcommand(
        "follow", std::string("Print each ") + what + " as it is written into the folder, by any process, until "
                  "interrupted (Ctrl-C, exit 0); the folder is looked at every second");
    follow->add_option("DIR", o.dir, folderHelp)->required();
    AddJournalOptions(*follow, o, source, false);
    follow->callback([&o, &source] { FollowJournal(o, source); });
}

bool WantsJournal(const JournalOptions& o) {
    return o.day.empty() || !o.since.empty() || !o.until.empty() || !o.grep.empty() || o.reverse || o.jsonLines;
}

void ShowJournal(const JournalOptions& o, const JournalSource& source) {
    if (o.dayJson)
        throw CommandError{"--json prints one DAY as the browser groups it, without the journal's options; "
                           "for the journal use --json-lines"};
    RequireFolder(o.dir);
    const Range range = RangeOf(o);
    const Printer printer{o, ParseTypeFilter(o.type, source)};
    auto months = FindMonthFiles(o.dir, source.extension);
    std::reverse(months.begin(), months.end());  // oldest first
    std::vector<JournalEntry> shown;
    for (const MonthFileEntry& month : months) {
        if (!MonthMeets(month.label, range)) continue;
        const std::string path = o.dir + "/" + month.name;
        std::uint64_t torn = 0;
        for (JournalEntry& e : source.read(path, torn))
            if (e.time >= range.first && e.time <= range.last && printer.Wanted(e)) shown.push_back(std::move(e));
        WarnTorn(path, torn);
    }
    std::ranges::stable_sort(shown, {}, &JournalEntry::time);
    if (o.reverse) std::ranges::reverse(shown);
    for (const JournalEntry& e : shown) printer.Print(e);
}

void FollowJournal(const JournalOptions& o, const JournalSource& source) {
    RequireFolder(o.dir);
    const Printer printer{o, ParseTypeFilter(o.type, source)};
    struct sigaction action {};
    action.sa_handler = StopFollowing;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::map<std::string, Followed> files;
    bool first = true;  // what is there at the start is not printed
    while (!stopFollowing) {
        std::vector<JournalEntry> appended;  // of every file, put in time order
        for (const MonthFileEntry& month : FindMonthFiles(o.dir, source.extension)) {
            const std::string path = o.dir + "/" + month.name;
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) continue;
            Followed& known = files[path];
            if (st.st_size == known.size) continue;
            std::uint64_t torn = 0;
            std::vector<JournalEntry> entries = source.read(path, torn);
            // A file rewritten shorter (repaired, or replaced) starts again from what it holds.
            const size_t from = first || st.st_size < known.size ? entries.size() : known.entries;
            for (size_t i = from; i < entries.size(); ++i)
                if (printer.Wanted(entries[i])) appended.push_back(std::move(entries[i]));
            known = {st.st_size - static_cast<off_t>(torn), entries.size()};
        }
        std::ranges::stable_sort(appended, {}, &JournalEntry::time);
        for (const JournalEntry& e : appended) printer.Print(e);
        if (first) std::cerr << "dvrkit: following " << o.dir << ", looking every second; Ctrl-C ends\n";
        first = false;
        CheckStandardOutput();
        nanosleep(&kFollowInterval, nullptr);
    }
}
