// The calendar's keyboard and its month buttons, pressed through the desktop as a person presses
// them: the chosen day moves, the month changes as a click on the day reached changes it, and the
// grid and the focus look are on screen at once.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/calendar/CalendarWindowFixture.h"

namespace {

using namespace calendar;

// One thing a person does: a key, a click on a month button, or a click on the cell of a day.
struct Input {
    enum Kind { key, button, cell } kind;
    UINT code = 0;
    const char* day = nullptr;
};
Input Key(UINT key) { return {Input::key, key}; }
Input Button(UINT id) { return {Input::button, id}; }
Input CellClick(const char* day) { return {Input::cell, 0, day}; }

struct ChoiceCase {
    CTime shown;       // the month the calendar shows first
    const char* from;  // the day clicked first
    std::vector<Input> inputs;
    const char* chosen;  // the one day drawn focused, and the clicked day, afterwards
    const char* title;
    std::vector<std::string> calls;  // after the first click
    int veto = 0;
};

CTime Noon(int year, int month, int day) { return CTime(year, month, day, 12, 0, 0); }

// What the calendar draws as chosen is what it told the host: after every key and every click on
// a cell or month button, exactly one cell shows the focus look, and its day is the clicked day
// and the last day the day-selected callback received (unless the host vetoed the move, which
// leaves the day it had).
TEST_F(CalendarWindow, TheDayDrawnChosenIsTheDayTheHostWasToldOf) {
    const CTime january = Noon(2006, 1, 15);
    const ChoiceCase cases[] = {
        {january, "2006-01-18", {Key(VK_RIGHT)}, "2006-01-19", "2006 January", {"day 2006-01-19"}},
        {january, "2006-01-18", {Key(VK_DOWN), Key(VK_LEFT), Key(VK_UP)}, "2006-01-17", "2006 January",
         {"day 2006-01-25", "day 2006-01-24", "day 2006-01-17"}},
        {january, "2006-01-18", {Key(VK_RETURN)}, "2006-01-18", "2006 January", {"day 2006-01-18"}},
        {january, "2006-01-18", {Key(VK_HOME)}, "2006-01-15", "2006 January", {"day 2006-01-15"}},
        // Leaving the month by a key is a click on the day reached: a grey cell of the grid...
        {january, "2006-01-01", {Key(VK_LEFT)}, "2005-12-31", "2005 December",
         {"day 2005-12-31", "verbose 2005-12", "month 2005-12-31 0 0"}},
        // ...or a day the grid does not show.
        {january, "2006-01-30", {Key(VK_DOWN)}, "2006-02-06", "2006 February",
         {"day 2006-02-06", "verbose 2006-2", "month 2006-02-06 0 0"}},
        // The month keys keep the day of the month, or take the month's last day.
        {Noon(2026, 12, 15), "2026-12-11", {Key(VK_NEXT)}, "2027-01-11", "2027 January",
         {"day 2027-01-11", "verbose 2027-1", "month 2027-01-11 0 0"}},
        {january, "2006-01-31", {Key(VK_NEXT)}, "2006-02-28", "2006 February",
         {"day 2006-02-28", "verbose 2006-2", "month 2006-02-28 0 0"}},
        {january, "2006-01-02", {Key(VK_NEXT)}, "2006-02-02", "2006 February",
         {"day 2006-02-02", "verbose 2006-2", "month 2006-02-02 0 0"}},
        {january, "2006-01-18", {Key(VK_PRIOR)}, "2005-12-18", "2005 December",
         {"day 2005-12-18", "verbose 2005-12", "month 2005-12-18 0 0"}},
        {january, "2006-01-18", {Key(VK_NEXT), Key(VK_HOME)}, "2006-01-15", "2006 January",
         {"day 2006-02-18", "verbose 2006-2", "month 2006-02-18 0 0", "day 2006-01-15", "verbose 2006-1",
          "month 2006-01-15 0 0"}},
        // The month buttons tell the host the first or last day of the grid, as they always have:
        // that day is then the one drawn chosen in the new month.
        {Noon(2026, 2, 15), "2026-02-20", {Button(kNextMonthId)}, "2026-03-07", "2026 March",
         {"day 2026-03-07", "verbose 2026-3", "month 2026-03-07 0 0"}},
        {Noon(2026, 2, 15), "2026-02-20", {Button(kPreviousMonthId)}, "2026-01-25", "2026 January",
         {"day 2026-01-25", "verbose 2026-1", "month 2026-01-25 0 0"}},
        {Noon(2005, 12, 15), "2005-12-11", {Button(kNextMonthId), Key(VK_RIGHT)}, "2006-01-08", "2006 January",
         {"day 2006-01-07", "verbose 2006-1", "month 2006-01-07 0 0", "day 2006-01-08"}},
        // A grey cell moves the grid; its day is chosen in the new grid, not the cell it was in.
        {january, "2006-01-18", {CellClick("2006-02-01")}, "2006-02-01", "2006 February",
         {"day 2006-02-01", "verbose 2006-2", "month 2006-02-01 0 0"}},
        // A veto keeps the grid and the chosen day where they were.
        {january, "2006-01-01", {Key(VK_LEFT)}, "2006-01-01", "2006 January", {"day 2005-12-31", "verbose 2005-12"}, 1},
        {january, "2006-01-18", {Key(VK_NEXT)}, "2006-01-18", "2006 January", {"day 2006-02-18", "verbose 2006-2"}, 1},
        {january, "2006-01-18", {Button(kNextMonthId)}, "2006-01-18", "2006 January",
         {"day 2006-02-04", "verbose 2006-2"}, 1},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.chosen);
        calendar.SetCurrentTime(c.shown);
        calendar.SetBaseTime();
        calendar.SetBtnTime();
        calls.veto = 0;
        ui.Click(CellOf(c.from));
        calls.order.clear();
        calls.veto = c.veto;
        for (const Input& input : c.inputs) {
            if (input.kind == Input::key) ui.Press({input.code});
            else if (input.kind == Input::button) ui.Click(*calendar.GetDlgItem(input.code));
            else ui.Click(CellOf(input.day));
        }
        EXPECT_EQ(calls.order, c.calls);
        EXPECT_EQ(WindowDriver::Text(*calendar.Title()), c.title);
        EXPECT_EQ(DaysDrawnChosen(), std::vector<std::string>{c.chosen});
        EXPECT_EQ(CWnd::GetFocus(), &CellOf(c.chosen));
        EXPECT_EQ(Iso(calendar.GetClickDay()), c.chosen);
        EXPECT_EQ(Iso(calendar.FocusedDay()), c.chosen);
        if (!c.veto) {
            const auto lastDay = std::find_if(calls.order.rbegin(), calls.order.rend(),
                                              [](const std::string& call) { return call.starts_with("day "); });
            ASSERT_NE(lastDay, calls.order.rend());
            EXPECT_EQ(*lastDay, std::string("day ") + c.chosen) << "the host heard last of another day";
        }
    }
}

// A host that gives the calendar itself the focus: the keys start from the day it opened on,
// and a key that is not the calendar's changes nothing.
TEST_F(CalendarWindow, KeysReachTheCalendarItselfAndOthersAreIgnored) {
    calendar.SetFocus();
    ui.Press({VK_ESCAPE, VK_END, VK_TAB});
    EXPECT_TRUE(calls.order.empty());
    calendar.SetFocus();
    ui.Press({VK_RIGHT});
    EXPECT_EQ(CWnd::GetFocus(), &CellOf("2006-01-16"));
    EXPECT_EQ(calls.order, std::vector<std::string>{"day 2006-01-16"});
    ui.Press({VK_SPACE});  // a focused cell is a button: Space clicks it
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2006-01-16", "day 2006-01-16"}));
}

// What the window shows changes without any click: after a navigation key, and after host calls
// that change a cell.
TEST_F(CalendarWindow, TheGridIsRedrawnAfterKeysAndHostCallsWithoutAClick) {
    ui.Click(CellOf("2006-01-18"));
    backend.Render();
    ui.Press({VK_NEXT});
    EXPECT_EQ(FaceAt(CellOf("2006-02-18")), kFocusFace);

    calendar.SetSpecialDayColor(CTime(2006, 2, 9, 12, 0, 0), 0x00FF00);
    EXPECT_EQ(FaceAt(CellOf("2006-02-09")), 0x00FF00u);
    calendar.SetSpecialDayClicked(CTime(2006, 2, 10, 12, 0, 0), 1);
    EXPECT_TRUE(CDesktop::Get().NeedsUpdate()) << "the mark shows at the next paint";
    EXPECT_EQ(FaceAt(CellOf("2006-02-10")), kFocusFace);
    calendar.SetCurrentTime(CTime(2006, 5, 1, 12, 0, 0));
    calendar.SetBaseTime();
    calendar.SetBtnTime();
    EXPECT_EQ(FaceAt(CellOf("2006-05-06")), kSaturdayFace);
}

}  // namespace
