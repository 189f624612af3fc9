#include "tools/dvrkit/CalendarView.h"

#include <iostream>

#include "calendar/CCalWnd.h"
#include "calendar/CalendarLayout.h"
#include "calendar/CalendarModel.h"
#include "module/MonthFile.h"
#include "platform/ui/PersonInput.h"
#include "tools/dvrkit/Commands.h"

namespace {

constexpr const char* kTitle = "dvrkit calendar";
constexpr int kWidth = kRoomyCalendarWidth, kHeight = kRoomyCalendarHeight;

std::string Day(CTime time) { return time.Format("%Y-%m-%d").str(); }

std::unique_ptr<CCalWnd> CreateCalendar(int width, int height, CTime shown) {
    auto calendar = std::make_unique<CCalWnd>();
    // A top-level window of the desktop, on the plain background colour (no bitmap).
    if (!calendar->CreateEx(0, nullptr, kTitle, WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0)) return nullptr;
    calendar->SetCurrentTime(shown);
    calendar->SetBaseTime();
    calendar->SetBtnTime();
    // The keys reach the calendar from the start, as in a host that gives it the focus.
    calendar->SetFocus();
    return calendar;
}

void PrintCallbacks(CCalWnd& calendar) {
    // Flushed line by line, so that whoever reads the tool's output hears of each click at once.
    calendar.SetCBSelectDay([](CTime day) { std::cout << "day selected " << Day(day) << std::endl; });
    calendar.SetCBVerboseIndex([](int year, int month) {
        std::cout << "verbose index " << year << ' ' << month << " -> 0" << std::endl;
        return 0;
    });
    calendar.SetCBChangedMonth([](CTime day, int first, int second) {
        std::cout << "month changed " << Day(day) << ' ' << first << ' ' << second << std::endl;
    });
}

void ClickDay(const CCalWnd& calendar, CTime day) {
    for (int i = 0; i < CCalWnd::kCells; ++i) {
        CCalButton& cell = *calendar.Cell(i);
        if (!cell.InShownMonth() || Day(cell.GetTime()) != Day(day)) continue;
        CRect client;
        cell.GetClientRect(&client);
        ClickClient(cell, client.CenterPoint());
        return;
    }
}

}  // namespace

CTime ParseMonth(const std::string& text) {
    const auto month = ParseMonthLabel(text);
    const bool inYears = month && month->year >= 1970 && month->year <= 2106;
    // Within those years, the grid's own rule: its 42 days must fit the second count.
    if (!inYears || !CalendarModel::GridFits(CTime(month->year, month->month, 15, 12, 0, 0)))
        throw CommandError{"'" + text + "' is not a month of the form YYYY-MM from 1970-02 to 2106-01"};
    return CTime(month->year, month->month, 15, 12, 0, 0);
}

ViewSpec CalendarViewSpec(CTime shown) {
    return {kTitle, kWidth, kHeight,
            [shown](int width, int height) -> std::unique_ptr<CWnd> { return CreateCalendar(width, height, shown); },
            nullptr};
}

ViewSpec CalendarHostViewSpec(CTime shown) {
    return {kTitle, kWidth, kHeight,
            [shown](int width, int height) -> std::unique_ptr<CWnd> {
                std::unique_ptr<CCalWnd> calendar = CreateCalendar(width, height, shown);
                if (calendar) PrintCallbacks(*calendar);
                return calendar;
            },
            [shown](CWnd& window) { ClickDay(static_cast<CCalWnd&>(window), shown); }};
}
