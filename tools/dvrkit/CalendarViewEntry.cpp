// dvrkit view calendar [--month YYYY-MM]: the calendar as a host uses it, its callbacks printed.
#include <string>

#include "tools/dvrkit/CalendarView.h"
#include "tools/dvrkit/ViewEntry.h"

namespace {

std::string month;

const ViewEntries::Add registration(
    30, {"calendar", "The calendar control; its callbacks print what they receive, a line each (a snapshot clicks the day)",
         [](CLI::App& command) {
             command.add_option("--month", month, "YYYY-MM to show first (default: the current month)");
         },
         [] { return CalendarHostViewSpec(month.empty() ? CTime::GetCurrentTime() : ParseMonth(month)); }});

}  // namespace
