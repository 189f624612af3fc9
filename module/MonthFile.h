#pragma once
// The month files of a folder, as the writers name them and the browsers find them: one file per
// local month, "FOLDER/YYYYMM.EXT", shown to a person as the month label "YYYY-MM". Every name
// and label of a month is made and read here, so a writer, a browser and the tool always agree.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/CString.h"
#include "platform/core/Types.h"

struct YearMonth {
    int year = 0, month = 0;
    friend bool operator==(const YearMonth&, const YearMonth&) = default;
};

struct YearMonthDay {
    int year = 0, month = 0, day = 0;
};

// "FOLDER/YYYYMM.EXT" for the local year and month of `time`.
CString MonthFileName(const char* folder, DWORD time, const char* extension);
// "FOLDER/YYYYMM.EXT" for a year and month.
std::string MonthFilePath(const std::string& folder, YearMonth month, const char* extension);

// "2005-04" for the file name "200504.log" (its first four characters, "-", the next two).
std::string MonthLabelOfFile(std::string_view fileName);
// "2005-04" for the local month of `time`.
std::string MonthLabelOf(DWORD time);
// The year and month of a label "YYYY-MM" (month 1 to 12); nothing for any other text.
std::optional<YearMonth> ParseMonthLabel(std::string_view label);
// A day "YYYY-MM-DD" that exists in its month; nothing for any other text.
std::optional<YearMonthDay> ParseDayLabel(std::string_view label);

struct MonthFileEntry {
    std::string name;   // "200504.log"
    std::string label;  // "2005-04"
};

// The month files of `folder` with `extension` ("log", "evt"): every "*.EXT" whose name is exactly
// ten characters long, newest month first (by FileSortArray). A folder that cannot be read, or
// an empty folder text, has none.
std::vector<MonthFileEntry> FindMonthFiles(const std::string& folder, const char* extension);

// Deletes every "*.EXT" file of `folder`, month file or not, and says whether any was found. An
// empty folder text deletes nothing: it must never stand for the file system's root.
bool DeleteFilesWithExtension(const std::string& folder, const char* extension);

// qsort-shaped comparator of two file names: newest month first, by the number that the first six
// characters read as (so "200504.log" gives 200504).
int FileSortArray(const void* a, const void* b);
