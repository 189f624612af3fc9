// dvrkit log2 months|days|show|export: what the log browser shows, on the command line.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "log2/LogFileFormat.h"
#include "log2/LogMonthData.h"
#include "log2/LogTextRenderer.h"
#include "module/FixedText.h"
#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/BrowseArguments.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct BrowseOptions : BrowseArguments {
    std::string file;
    int type = -1;
};

void LoadMonth(CLogMonthData& data, const std::string& dir, YearMonth month) {
    switch (data.Load(dir, month)) {
        case LogMonthLoad::loaded: return;
        case LogMonthLoad::cutShort:
            std::cerr << "dvrkit: warning: the month file ends inside a block; the whole blocks before it are shown\n";
            return;
        case LogMonthLoad::notOpened: throw CommandError{"no log file for that month can be read in " + dir};
        case LogMonthLoad::notALog: throw CommandError{"the month file is not a log file (bad header mark)", 2};
        case LogMonthLoad::damaged: throw CommandError{"the month file has a damaged block: nothing of it is shown", 2};
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

void ShowDay(const BrowseOptions& o) {
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
            if (o.type >= 0 && log.header.type != o.type) continue;
            const std::string block = renderer.LogTextBlock(data, log);
            logs.push_back({{"handle", log.header.handle}, {"start", CTime(log.header.handle).Format("%H:%M:%S").str()},
                            {"type", log.header.type}, {"name", std::string(ReadFixedText(log.header.name))},
                            {"text", block}});
            text += CTime(log.header.handle).Format("%H:%M:%S").str() + "\n" + block + "\n";
            std::erase(text, '\r');  // a terminal wants plain line feeds
        }
        if (o.type >= 0 && logs.empty()) continue;
        if (o.json) out.push_back({{"group", label}, {"count", logs.size()}, {"logs", logs}});
        else std::cout << "== " << label << " (" << logs.size() << ")\n" << text;
    }
    if (o.json) PrintJson(out);
}

// Writes beside the target and renames, so that a failed export leaves no half-written file.
void ExportMonth(const BrowseOptions& o) {
    CLogMonthData data;
    LoadMonthOf(o, data);
    const std::string partial = o.file + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        CLogTextRenderer().MonthText(data, [&out](const std::string& piece) {
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        if (!out.flush()) {
            std::filesystem::remove(partial);
            throw CommandError{"cannot write " + o.file};
        }
    }
    std::filesystem::rename(partial, o.file);
    std::cout << "exported " << data.Logs().GetSize() << " logs to " << o.file << "\n";
}

}  // namespace

void AddLog2BrowseCommands(CLI::App& log2) {
    static BrowseOptions o;
    AddMonthsCommand(log2, logfile::kExtension, "List the months that have a log file, newest first", "Log folder");
    AddBrowseCommand(log2, "days", "List the days of a month on which logs began, latest first", "Log folder", "MONTH", o)
        ->callback([] { ListDays(o); });
    CLI::App* show =
        AddBrowseCommand(log2, "show", "Show the logs of a day grouped by type, with their texts", "Log folder", "DAY", o);
    show->add_option("--type", o.type, "Only logs of this type")->check(CLI::Range(0, 255));
    show->callback([] { ShowDay(o); });

    CLI::App* exportCmd = log2.add_subcommand("export", "Write every log of a month as text (CR LF line ends)");
    exportCmd->add_option("DIR", o.dir, "Log folder")->required();
    exportCmd->add_option("MONTH", o.when, "YYYY-MM")->required();
    exportCmd->add_option("FILE", o.file, "Text file to write")->required();
    exportCmd->callback([] { ExportMonth(o); });
}
