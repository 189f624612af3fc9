#include "module/MonthFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "platform/core/CTime.h"
#include "platform/core/FileSystem.h"

namespace {

constexpr std::size_t kMonthFileNameLength = 10;  // "YYYYMM.EXT" with a three-letter extension

// Appends `value` as exactly `digits` decimal digits (leading zeros).
void AppendDigits(std::string& out, int value, int digits) {
    char text[8];
    for (int i = digits - 1; i >= 0; --i, value /= 10) text[i] = static_cast<char>('0' + value % 10);
    out.append(text, static_cast<std::size_t>(digits));
}

std::string MonthPath(std::string_view folder, int year, int month, std::string_view extension) {
    std::string name;
    name.reserve(folder.size() + extension.size() + 9);
    name.append(folder).push_back('/');
    AppendDigits(name, year, 4);
    AppendDigits(name, month, 2);
    name.append(".").append(extension);
    return name;
}

// A run of exactly `digits` decimal digits at the start of `text`, moved past.
std::optional<int> TakeNumber(std::string_view& text, std::size_t digits) {
    if (text.size() < digits) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + digits, value);
    if (error != std::errc() || end != text.data() + digits) return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

bool TakeDash(std::string_view& text) {
    if (text.empty() || text.front() != '-') return false;
    text.remove_prefix(1);
    return true;
}

std::optional<YearMonth> TakeYearMonth(std::string_view& text) {
    const auto year = TakeNumber(text, 4);
    if (!year || !TakeDash(text)) return std::nullopt;
    const auto month = TakeNumber(text, 2);
    if (!month || *month < 1 || *month > 12) return std::nullopt;
    return YearMonth{*year, *month};
}

int DaysIn(YearMonth m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (m.year % 4 == 0 && m.year % 100 != 0) || m.year % 400 == 0;
    return m.month == 2 && leap ? 29 : kDays[m.month - 1];
}

}  // namespace

CString MonthFileName(const char* folder, DWORD time, const char* extension) {
    // Built by hand rather than through printf: writers name a file on every append.
    const std::tm local = CTime(time).GetLocalTm();
    return CString(MonthPath(folder, local.tm_year + 1900, local.tm_mon + 1, extension));
}

std::string MonthFilePath(const std::string& folder, YearMonth month, const char* extension) {
    return MonthPath(folder, month.year % 10000, month.month % 100, extension);
}

std::string MonthLabelOfFile(std::string_view fileName) {
    if (fileName.size() < 6) return std::string(fileName);
    return std::string(fileName.substr(0, 4)) + "-" + std::string(fileName.substr(4, 2));
}

std::string MonthLabelOf(DWORD time) { return CTime(time).Format("%Y-%m").str(); }

std::optional<YearMonth> ParseMonthLabel(std::string_view label) {
    const auto month = TakeYearMonth(label);
    if (!month || !label.empty()) return std::nullopt;
    return month;
}

std::optional<YearMonthDay> ParseDayLabel(std::string_view label) {
    const auto month = TakeYearMonth(label);
    if (!month || !TakeDash(label)) return std::nullopt;
    const auto day = TakeNumber(label, 2);
    if (!day || !label.empty() || *day < 1 || *day > DaysIn(*month)) return std::nullopt;
    return YearMonthDay{month->year, month->month, *day};
}

std::vector<MonthFileEntry> FindMonthFiles(const std::string& folder, const char* extension) {
    std::vector<std::string> names;
    CFileFind find;
    BOOL more = !folder.empty() && find.FindFile((folder + "/*." + extension).c_str());
    while (more) {
        more = find.FindNextFile();
        if (find.GetFileName().size() == kMonthFileNameLength) names.push_back(find.GetFileName());
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return FileSortArray(a.c_str(), b.c_str()) < 0; });
    std::vector<MonthFileEntry> months;
    months.reserve(names.size());
    for (std::string& name : names) {
        std::string label = MonthLabelOfFile(name);
        months.push_back({std::move(name), std::move(label)});
    }
    return months;
}

bool DeleteFilesWithExtension(const std::string& folder, const char* extension) {
    if (folder.empty()) return false;
    CFileFind find;
    BOOL more = find.FindFile((folder + "/*." + extension).c_str());
    const bool found = more;
    while (more) {
        more = find.FindNextFile();
        DeleteFileA(find.GetFilePath().c_str());
    }
    return found;
}

int FileSortArray(const void* a, const void* b) {
    // atoi of the first six characters, as a C string of at most six characters.
    char left[7] = {}, right[7] = {};
    std::strncpy(left, static_cast<const char*>(a), 6);
    std::strncpy(right, static_cast<const char*>(b), 6);
    const int l = std::atoi(left), r = std::atoi(right);
    return l > r ? -1 : (l < r ? 1 : 0);
}
