// dvrkit calendar YYYY-MM: the month grid the calendar control shows, as text or JSON, or the
// control itself drawn into a PNG file.
#include <cstdio>
#include <iostream>
#include <string>

#include "calendar/CalendarModel.h"
#include "tools/dvrkit/CalendarView.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/TextOutput.h"

namespace {

struct CalendarOptions {
    std::string month;
    bool json = false;
    std::string snapshot;
};

void ShowMonth(const CalendarOptions& o) {
    const CTime shown = ParseMonth(o.month);
    if (!o.snapshot.empty()) return RunView(CalendarViewSpec(shown), o.snapshot);
    const CalendarModel model(shown);
    if (o.json) {
        nlohmann::json cells = nlohmann::json::array();
        for (int i = 0; i < CalendarModel::kCells; ++i) cells.push_back(model.CellDate(i).Format("%Y-%m-%d").str());
        return PrintJson({{"title", model.TitleText()}, {"cells", cells}});
    }
    // Days of other months are shown in parentheses, as the control greys them.
    std::cout << model.TitleText() << "\n";
    for (int d = 0; d < CalendarModel::kColumns; ++d) std::printf("%5.4s", model.WeekdayName(d).c_str());
    std::printf("\n");
    for (int i = 0; i < CalendarModel::kCells; ++i) {
        const int day = model.CellDate(i).GetDay();
        if (model.InShownMonth(i)) std::printf("%5d", day);
        else std::printf("%*s(%d)", day < 10 ? 2 : 1, "", day);
        if (i % CalendarModel::kColumns == CalendarModel::kColumns - 1) std::printf("\n");
    }
}

void AddCalendarCommand(CLI::App& app) {
    static CalendarOptions o;
    CLI::App* calendar = app.add_subcommand("calendar", "Print a month's 42 calendar cells (days of other months in parentheses), or draw the calendar window");
    calendar->add_option("MONTH", o.month, "YYYY-MM")->required();
    CLI::Option* json = calendar->add_flag("--json", o.json, "Print the title and the 42 cell dates (ISO, grid order) as JSON");
    calendar->add_option("--snapshot", o.snapshot, "Draw the calendar window showing the month into a PNG file instead")
        ->excludes(json);
    calendar->callback([] { ShowMonth(o); });
}

const CommandGroups::Add registration(40, AddCalendarCommand);

}  // namespace
