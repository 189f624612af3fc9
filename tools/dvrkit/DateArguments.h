#pragma once
// The month and day arguments of the browsing commands, read by the library's own label rules.
#include <string>

#include "module/LocalDay.h"
#include "module/MonthFile.h"

// "YYYY-MM"; a CommandError for any other text.
YearMonth MonthArgument(const std::string& text);
// "YYYY-MM-DD" of a day that exists; a CommandError for any other text.
YearMonthDay DayArgument(const std::string& text);
// The local calendar day of a day argument.
LocalDay DayOf(const YearMonthDay& day);
