// dvrkit log2 months|days|show|export: what the log browser shows, on the command line.
#include <iostream>
#include <string>

#include "log1/EntryFileUnits.h"
#include "log2/LogFileFormat.h"
#include "log2/LogFileReader.h"
#include "log2/LogJournal.h"
#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "log2/LogTypeGroups.h"
#include "module/FixedText.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/Journal.h"
#include "tools/dvrkit/MonthFileInput.h"
#include "tools/dvrkit/OutputFile.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct BrowseOptions : BrowseArguments {
    std::string file;
    JournalOptions journal;
};

void LoadMonth(CLogMonthData& data, const std::string& dir, YearMonth month) {
    RequireFolder(dir);
    switch (data.Load(dir, month)) {
        case LogMonthLoad::loaded: return;
        case LogMonthLoad::cutShort:
            std::cerr << "dvrkit: warning: the month file ends inside a block after the counted ones; the counted "
                         "blocks are shown\n";
            return;
        case LogMonthLoad::notOpened: throw CommandError{"no log file for that month can be read in " + dir};
        case LogMonthLoad::notALog:
        case LogMonthLoad::damaged: {
            // The month's reader stops at the damage; the file's scan says where it is and what it is.
            const std::string path = MonthFilePath(dir, month, logfile::kExtension);
            RefuseDamage(ReadMonthFileInput(path, LogFileUnits()), LogFileUnits(), &EntryFileUnits());
            throw CommandError{path + ": it changed while it was read; nothing of the month is shown", 2};
        }
    }
}

// Reads the command's month ("YYYY-MM") and loads it.
void LoadMonthOf(const BrowseOptions& o, CLogMonthData& data) { LoadMonth(data, o.dir, MonthArgument(o.when)); }

// Reads the command's day ("YYYY-MM-DD"), loads its month and gives the day's bounds.
LocalDay LoadDayOf(const BrowseOptions& o, CLogMonthData& data) {
    const YearMonthDay day = DayArgument(o.when);
    LoadMonth(data, o.dir, {day.year, day.month});
    return DayOf(day);
}

void ListDays(const BrowseOptions& o) {
    CLogMonthData data;
    LoadMonthOf(o, data);
    nlohmann::json out = nlohmann::json::array();
    for (const LocalDay& d : data.Days()) {
        size_t logs = 0;
        for (const auto& group : data.GroupDay(d).logs) logs += group.size();
        if (o.json) out.push_back({{"day", CTime(d.midnight).Format("%Y-%m-%d").str()}, {"logs", logs}});
        else std::cout << CTime(d.midnight).Format("%Y-%m-%d").c_str() << "  " << logs << " logs\n";
    }
    if (o.json) PrintJson(out);
}

void ShowDay(const BrowseOptions& o, const JournalSource& source) {
    const TypeFilter filter = ParseTypeFilter(o.journal.type, source.family);
    const bool filtered = !o.journal.type.empty();
    CLogMonthData data;
    const LogDayGroups groups = data.GroupDay(LoadDayOf(o, data));
    const TypeLabels labels = LoadTypeLabels();
    CLogTextRenderer renderer;
    nlohmann::json out = nlohmann::json::array();
    for (int g = 0; g < kLogTypeGroupCount; ++g) {
        if (!kLogTypeGroups[g].HoldsLogs()) continue;
        const std::string label = TypeGroupPath(labels, g);
        nlohmann::json logs = nlohmann::json::array();
        std::string text;
        for (const int index : groups.logs[g]) {
            const _LOG_HEADER_MEMORY_& log = data.Logs()[index];
            if (!filter.Matches(log.header.type, g, kLogTypeGroups[g].parent)) continue;
            const std::string block = renderer.LogTextBlock(data, log);
            logs.push_back({{"handle", log.header.handle}, {"start", CTime(log.header.handle).Format("%H:%M:%S").str()},
                            {"type", log.header.type}, {"name", std::string(ReadFixedText(log.header.name))},
                            {"text", block}});
            std::string lines = block;
            std::erase(lines, '\r');  // a terminal wants plain line feeds
            text += CTime(log.header.handle).Format("%H:%M:%S").str() + "\n" + ShownText(lines) + "\n";
        }
        if (filtered && logs.empty()) continue;
        if (o.json) out.push_back({{"group", label}, {"count", logs.size()}, {"logs", logs}});
        else std::cout << "== " << label << " (" << logs.size() << ")\n" << text;
    }
    if (o.json) PrintJson(out);
}

void ExportMonth(const BrowseOptions& o) {
    CLogMonthData data;
    LoadMonthOf(o, data);
    OutputFile out(o.file);
    CLogTextRenderer().MonthText(data, [&out](const std::string& piece) { out.Write(piece); });
    out.Commit();
    if (o.file != "-") std::cout << "exported " << data.Logs().GetSize() << " logs to " << o.file << "\n";
}

}  // namespace

void AddLog2BrowseCommands(CLI::App& log2) {
    static BrowseOptions o;
    static const JournalSource source{WithRival(LogJournalFamily(), EntryFileUnits())};
    AddMonthsCommand(log2, logfile::kExtension, "List the months that have a log file, newest first", "Log folder");
    AddBrowseCommand(log2, "days", "List the days of a month on which logs began, latest first", "Log folder", "MONTH", o)
        ->callback([] { ListDays(o); });

    AddShowCommand(log2,
                   "Show logs with their texts: one DAY grouped by type as the browser shows it, or with a range, "
                   "--grep, --reverse, -n, --output or another option below (or no DAY) every log in time order, oldest first",
                   "Log folder", "Print one day's groups as JSON", o.journal, source, [] {
                       o.dir = o.journal.dir;
                       o.when = o.journal.day;
                       o.json = o.journal.dayJson;
                       ShowDay(o, source);
                   });
    AddFollowCommand(log2, "log", "Log folder", o.journal, source);

    CLI::App* exportCmd = log2.add_subcommand("export", "Write every log of a month as text (CR LF line ends)");
    exportCmd->add_option("DIR", o.dir, "Log folder")->required();
    exportCmd->add_option("MONTH", o.when, "YYYY-MM")->required();
    exportCmd->add_option("FILE", o.file, "Text file to write (replaced only when complete; - for standard output)")->required();
    exportCmd->callback([] { ExportMonth(o); });
}
