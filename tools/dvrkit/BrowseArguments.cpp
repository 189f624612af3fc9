#include "tools/dvrkit/BrowseArguments.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>

#include "platform/core/CTime.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TextOutput.h"

void RequireFolder(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) throw CommandError{dir + ": " + std::strerror(errno)};
    if (!S_ISDIR(st.st_mode)) throw CommandError{dir + ": " + std::strerror(ENOTDIR)};
    if (::access(dir.c_str(), R_OK | X_OK) != 0) throw CommandError{dir + ": " + std::strerror(errno)};
}

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

std::optional<DWORD> TimeOnDay(const YearMonthDay& day, std::string_view text) {
    int parts[3] = {};
    constexpr int kLimits[3] = {23, 59, 59};
    // Times are stored as unsigned 32-bit seconds since 1970.
    if (day.year < 1970 || day.year > 2105 || text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    for (int i = 0; i < 3; ++i) {
        const char* at = text.data() + 3 * i;
        const auto [end, error] = std::from_chars(at, at + 2, parts[i]);
        if (error != std::errc() || end != at + 2 || parts[i] < 0 || parts[i] > kLimits[i]) return std::nullopt;
    }
    return CTime(day.year, day.month, day.day, parts[0], parts[1], parts[2]).GetTime();
}

std::optional<DWORD> ParseLocalTime(std::string_view text) {
    if (text.size() < 11 || text[10] != ' ') return std::nullopt;
    const auto day = ParseDayLabel(text.substr(0, 10));
    return day ? TimeOnDay(*day, text.substr(11)) : std::nullopt;
}

std::optional<DWORD> ParseTimeValue(std::string_view text) {
    DWORD seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (!text.empty() && error == std::errc() && end == text.data() + text.size()) return seconds;
    return ParseLocalTime(text);
}

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
        RequireFolder(args.dir);
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
