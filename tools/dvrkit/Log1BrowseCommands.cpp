// dvrkit log1 months|days|show|delete: what the first-generation browser shows and deletes, on
// the command line, through the browser's own data core.
#include <algorithm>
#include <iostream>
#include <string>

#include "log1/EntryFileUnits.h"
#include "log1/EntryJournal.h"
#include "log1/EntryMonthData.h"
#include "log1/EntryRecord.h"
#include "log1/EntryText.h"
#include "log2/LogFileReader.h"
#include "module/FixedText.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/MonthFileInput.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct BrowseOptions : BrowseArguments {
    std::string time;
    int type = -1;  // -1: every type
    std::string name;
    bool named = false;  // --name was given (a name may be empty)
    JournalOptions journal;
};

// Loads the month, saying on stderr what of the file could not be shown.
void LoadMonth(CEntryMonthData& data, const std::string& dir, YearMonth month) {
    RequireFolder(dir);
    data.SetFolder(dir);
    const EntryMonthLoad load = data.Load(month);
    if (load != EntryMonthLoad::notOpened)
        RefuseDamage(ReadMonthFileInput(data.MonthPath(month), EntryFileUnits()), EntryFileUnits(), &LogFileUnits());
    if (load == EntryMonthLoad::notOpened) throw CommandError{"no first-generation month file for that month can be read in " + dir};
    if (load == EntryMonthLoad::badLength)
        std::cerr << "dvrkit: warning: the month file's length is not a multiple of 168; the whole entries before "
                     "its torn tail are shown\n";
}

void ListDays(const BrowseOptions& o) {
    CEntryMonthData data;
    LoadMonth(data, o.dir, MonthArgument(o.when));
    nlohmann::json out = nlohmann::json::array();
    for (const LocalDay& d : data.Days()) {
        if (!o.json) {
            std::cout << d.label << "\n";
            continue;
        }
        size_t entries = 0;
        for (const auto& type : data.TypesOfDay(d)) entries += type.size();
        out.push_back({{"day", d.label}, {"date", CTime(d.midnight).Format("%Y-%m-%d").str()}, {"entries", entries}});
    }
    if (o.json) PrintJson(out);
}

nlohmann::json EntryJson(const CLogRecordItem& e) {
    return {{"time", e.time}, {"local", LocalTimeText(e.time)}, {"updateTime", e.updateTime},
            {"name", std::string(ReadFixedText(e.name))}, {"type", e.type}, {"flag", e.flag},
            {"text", std::string(ReadFixedText(e.text))}, {"pane", EntryPaneText(e)}};
}

// The day as the type tree shows it: each type with its count, each entry's time and six lines.
void ShowDay(const BrowseOptions& o) {
    CEntryMonthData data;
    const YearMonthDay day = DayArgument(o.when);
    LoadMonth(data, o.dir, {day.year, day.month});
    const EntryDayTypes types = data.TypesOfDay(DayOf(day));
    nlohmann::json out = nlohmann::json::array();
    for (DWORD type = 0; type < entryfile::kTypeCount; ++type) {
        if (o.type >= 0 && static_cast<DWORD>(o.type) != type) continue;
        nlohmann::json entries = nlohmann::json::array();
        if (!o.json) std::cout << "== " << CountedTypeLabel(type, types[type].size()) << "\n";
        for (const int index : types[type]) {
            const CLogRecordItem& e = data.Entries()[index];
            if (o.json) entries.push_back(EntryJson(e));
            else std::cout << "-- " << CTime(e.time).Format("%H:%M:%S").str() << "\n" << ShownText(EntryPaneText(e));
        }
        if (o.json) out.push_back({{"type", type}, {"label", CountedTypeLabel(type, types[type].size())},
                                   {"count", types[type].size()}, {"entries", entries}});
    }
    if (o.json) PrintJson(out);
}

// The second of "HH:MM:SS" on the day.
DWORD SecondOf(const YearMonthDay& day, const std::string& text) {
    const auto time = TimeOnDay(day, text);
    if (!time) throw CommandError{"'" + text + "' is not a time of the form HH:MM:SS"};
    return *time;
}

// The serial of the one entry that --time, --type and --name name on the day. Of entries alike
// in all three, the one stored first.
DWORD ChosenEntry(const CEntryMonthData& data, const BrowseOptions& o, const YearMonthDay& day) {
    const DWORD type = static_cast<DWORD>(o.type);
    const std::vector<int> found = data.EntriesAt(SecondOf(day, o.time), type, o.named ? o.name.c_str() : nullptr);
    const std::string what = "entry of type " + std::to_string(type) + " at " + o.time +
                             (o.named ? " named " + QuoteText(o.name) : std::string());
    if (found.empty()) throw CommandError{"there is no " + what + ": nothing was deleted"};
    if (found.size() > 1 && !o.named)
        throw CommandError{"there is more than one " + what + ": give --name as well; nothing was deleted"};
    const auto first = std::min_element(found.begin(), found.end(), [&](int a, int b) {
        return data.Entries()[a].offset < data.Entries()[b].offset;
    });
    return data.Entries()[*first].serial;
}

void DeleteEntries(const BrowseOptions& o) {
    CEntryMonthData data;
    const YearMonthDay day = DayArgument(o.when);
    LoadMonth(data, o.dir, {day.year, day.month});
    const auto gone = !o.time.empty() ? data.DeleteEntry(ChosenEntry(data, o, day))
                      : o.type >= 0   ? data.DeleteDay(DayOf(day), static_cast<DWORD>(o.type))
                                      : data.DeleteDay(DayOf(day));
    if (!gone) throw CommandError{"the month file could not be rewritten: nothing was deleted"};
    if (o.json) {
        nlohmann::json out = nlohmann::json::array();
        for (const CLogRecordItem& e : *gone) out.push_back(EntryJson(e));
        return PrintJson({{"removed", out}, {"left", data.Entries().GetSize()}});
    }
    for (const CLogRecordItem& e : *gone)
        std::cout << "removed " << LocalTimeText(e.time) << " " << EntryTypeLabel(e.type) << " "
                  << QuoteText(ReadFixedText(e.name)) << "\n";
    std::cout << gone->size() << " entries removed, " << data.Entries().GetSize() << " left in the month"
              << (data.Entries().GetSize() ? "" : " (its file was deleted)") << "\n";
}

}  // namespace

void AddLog1BrowseCommands(CLI::App& log1) {
    static BrowseOptions o;
    AddMonthsCommand(log1, entryfile::kExtension, "List the months that have a month file, newest first", "Log folder");
    AddBrowseCommand(log1, "days", "List the days of a month that have entries, latest first", "Log folder", "MONTH", o)
        ->callback([] { ListDays(o); });
    static const JournalSource source{WithRival(EntryJournalFamily(), LogFileUnits())};
    AddShowCommand(log1,
                   "Show entries: one DAY by type with their counts and six-line texts as the browser shows it, "
                   "or with a range, --grep, --reverse, -n, --output or another option below (or no DAY) every entry in time order, "
                   "oldest first",
                   "Log folder", "Print one day's types as JSON", o.journal, source, [] {
                       const TypeFilter filter = ParseTypeFilter(o.journal.type, source.family);
                       o.dir = o.journal.dir;
                       o.when = o.journal.day;
                       o.json = o.journal.dayJson;
                       o.type = filter.type >= 0 ? filter.type : filter.group;
                       ShowDay(o);
                   });
    AddFollowCommand(log1, "entry", "Log folder", o.journal, source);

    CLI::App* del = AddBrowseCommand(
        log1, "delete",
        "Delete a day's entries, one type of them, or one entry, as the browser's Delete does; takes them out of the "
        "month file (deleted when nothing is left) and prints what went",
        "Log folder", "DAY", o);
    CLI::Option* type = del->add_option("--type", o.type, "Only this type, 0 to 4")->check(CLI::Range(0, 4));
    CLI::Option* time = del->add_option("--time", o.time, "Only the entry of this type at this second, HH:MM:SS")
                            ->needs(type);
    del->add_option("--name", o.name, "The entry's name, where more than one of that second and type")->needs(time);
    del->callback([del] {
        o.named = del->count("--name") > 0;
        DeleteEntries(o);
    });
}
