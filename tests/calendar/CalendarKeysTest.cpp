// The calendar's keyboard, pressed through the desktop as a person presses keys: the focused
// day moves, the month changes as a click on the day reached changes it, and the grid and the
// focus look are on screen at once.
#include <gtest/gtest.h>

#include "tests/calendar/CalendarWindowFixture.h"

namespace {

using namespace calendar;

struct KeyCase {
    const char* from;  // the day clicked first (the calendar opens on 15 January 2006)
    std::vector<UINT> keys;
    const char* focused;
    const char* title;
    std::vector<std::string> calls;  // after the first click
    int veto = 0;
};

TEST_F(CalendarWindow, KeysMoveTheFocusedDayAndStepTheMonthThroughTheClickPath) {
    const KeyCase cases[] = {
        {"2006-01-18", {VK_RIGHT}, "2006-01-19", "2006 January", {}},
        {"2006-01-18", {VK_DOWN, VK_LEFT, VK_UP}, "2006-01-17", "2006 January", {}},
        {"2006-01-18", {VK_RETURN}, "2006-01-18", "2006 January", {"day 2006-01-18"}},
        {"2006-01-18", {VK_RIGHT, VK_RETURN}, "2006-01-19", "2006 January", {"day 2006-01-19"}},
        // Leaving the month is a click on the day reached: to a grey cell of the grid...
        {"2006-01-01", {VK_LEFT}, "2005-12-31", "2005 December",
         {"day 2005-12-31", "verbose 2005-12", "month 2005-12-31 0 0"}},
        // ...or to a day the grid does not show.
        {"2006-01-30", {VK_DOWN}, "2006-02-06", "2006 February",
         {"day 2006-02-06", "verbose 2006-2", "month 2006-02-06 0 0"}},
        // The month keys are the month buttons, keeping the day of the month where it exists.
        {"2006-01-31", {VK_NEXT}, "2006-02-28", "2006 February",
         {"day 2006-02-04", "verbose 2006-2", "month 2006-02-04 0 0"}},
        {"2006-01-18", {VK_PRIOR}, "2005-12-18", "2005 December",
         {"day 2005-12-25", "verbose 2005-12", "month 2005-12-25 0 0"}},
        // Home comes back to today (15 January) from another month, as a click on it does.
        {"2006-01-18", {VK_NEXT, VK_HOME}, "2006-01-15", "2006 January",
         {"day 2006-02-04", "verbose 2006-2", "month 2006-02-04 0 0", "day 2006-01-15", "verbose 2006-1",
          "month 2006-01-15 0 0"}},
        {"2006-01-18", {VK_HOME}, "2006-01-15", "2006 January", {}},
        // A veto keeps the grid and the focus where they were.
        {"2006-01-01", {VK_LEFT}, "2006-01-01", "2006 January", {"day 2005-12-31", "verbose 2005-12"}, 1},
        {"2006-01-18", {VK_NEXT}, "2006-01-18", "2006 January", {"day 2006-02-04", "verbose 2006-2"}, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.focused);
        calendar.SetCurrentTime(CTime(2006, 1, 15, 12, 0, 0));
        calendar.SetBaseTime();
        calendar.SetBtnTime();
        calls.veto = 0;
        ui.Click(CellOf(c.from));
        calls.order.clear();
        calls.veto = c.veto;
        for (UINT key : c.keys) ui.Press({key});
        EXPECT_EQ(calls.order, c.calls);
        EXPECT_EQ(WindowDriver::Text(*calendar.Title()), c.title);
        EXPECT_EQ(Iso(calendar.FocusedDay()), c.focused);
        CCalButton& focused = CellOf(c.focused);
        EXPECT_EQ(CWnd::GetFocus(), &focused);
        EXPECT_EQ(FaceAt(focused), kFocusFace) << "the focused day is drawn as focused";
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
    ui.Press({VK_SPACE});  // a focused cell is a button: Space clicks it
    EXPECT_EQ(calls.order, std::vector<std::string>{"day 2006-01-16"});
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
