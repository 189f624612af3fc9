#pragma once
// What the browsing commands of every browser share: a folder, a month or day argument read by the
// library's label rules, --json, and the `months` command, which lists a folder's month files.
#include <optional>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "module/LocalDay.h"
#include "module/MonthFile.h"

struct BrowseArguments {
    std::string dir, when;
    bool json = false;
};

// A CommandError with the system's reason unless `dir` names a folder that can be read.
void RequireFolder(const std::string& dir);
// "YYYY-MM"; a CommandError for any other text.
YearMonth MonthArgument(const std::string& text);
// "YYYY-MM-DD" of a day that exists; a CommandError for any other text.
YearMonthDay DayArgument(const std::string& text);
// The local calendar day of a day argument.
LocalDay DayOf(const YearMonthDay& day);
// The local time "HH:MM:SS" on `day` (1970 to 2105); nothing for any other text.
std::optional<DWORD> TimeOnDay(const YearMonthDay& day, std::string_view text);
// A local time "YYYY-MM-DD HH:MM:SS" of a day that exists (1970 to 2105); nothing for any other
// text.
std::optional<DWORD> ParseLocalTime(std::string_view text);
// What the writing commands take as a time: Unix seconds (0 to 4294967295), or a local time as
// ParseLocalTime reads it; nothing for any other text.
std::optional<DWORD> ParseTimeValue(std::string_view text);

// Adds `name` to `group` with the folder (described by `folderHelp`), the date argument when
// `date` is "MONTH" or "DAY" (nullptr for none) and --json, all read into `args`.
CLI::App* AddBrowseCommand(CLI::App& group, const char* name, const char* help, const char* folderHelp,
                           const char* date, BrowseArguments& args);
// Adds `months DIR [--json]`: the folder's month files with `extension`, newest first.
void AddMonthsCommand(CLI::App& group, const char* extension, const char* help, const char* folderHelp);
