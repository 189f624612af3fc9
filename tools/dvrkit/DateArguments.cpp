#include "tools/dvrkit/DateArguments.h"

#include "tools/dvrkit/Commands.h"

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
