#include "tools/dvrkit/BrowseArguments.h"

#include <iostream>

#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TextOutput.h"

YearMonth MonthArgument(const std::string& text) {
    const auto month = ParseMonthLabel(text);
    if (!month) throw CommandError{"'" + text + "' is not a month of the form YYYY-MM"};
    return *month;
}

YearMonthDay DayArgument(const std::string& text) {
    const auto day = ParseDayLabel(text);
    if (!day) throw CommandError{"'" + text + "' is not a day of the form YYYY-MM-DD"};
    return *day;
}

LocalDay DayOf(const YearMonthDay& day) { return DayStartingAt(LocalMidnight(day.year, day.month, day.day)); }

CLI::App* AddBrowseCommand(CLI::App& group, const char* name, const char* help, const char* folderHelp,
                           const char* date, BrowseArguments& args) {
    CLI::App* command = group.add_subcommand(name, help);
    command->add_option("DIR", args.dir, folderHelp)->required();
    if (date) command->add_option(date, args.when, std::string(date) == "DAY" ? "YYYY-MM-DD" : "YYYY-MM")->required();
    command->add_flag("--json", args.json, "Print JSON");
    return command;
}

void AddMonthsCommand(CLI::App& group, const char* extension, const char* help, const char* folderHelp) {
    static BrowseArguments args;  // one months command is parsed per run
    AddBrowseCommand(group, "months", help, folderHelp, nullptr, args)->callback([extension] {
        const auto months = FindMonthFiles(args.dir, extension);
        if (!args.json) {
            for (const auto& m : months) std::cout << m.label << "\n";
            return;
        }
        nlohmann::json out = nlohmann::json::array();
        for (const auto& m : months) out.push_back({{"month", m.label}, {"file", m.name}});
        PrintJson(out);
    });
}
