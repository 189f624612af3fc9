#pragma once
// The calendar control as the tool shows it: the month a user names on the command line, and
// the calendar window for `dvrkit calendar --snapshot`, `dvrkit view calendar` and the demo.
#include <string>

#include "platform/core/CTime.h"
#include "tools/dvrkit/ViewRunner.h"

// Noon on the 15th of a month given as YYYY-MM. A CommandError for any other text and for a
// month whose grid of 42 days does not fit the 32-bit second count (before 1970-02, after 2106-01).
CTime ParseMonth(const std::string& text);

// The calendar window showing the month of `shown`.
ViewSpec CalendarViewSpec(CTime shown);
// The calendar as a host uses it: its three callbacks print what they receive on stdout, one
// line each, as it happens. Its snapshot shows the day of `shown` clicked.
ViewSpec CalendarHostViewSpec(CTime shown);
