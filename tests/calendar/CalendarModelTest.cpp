#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "calendar/CalendarModel.h"
#include "tests/calendar/CallbackLog.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestStrings.h"

namespace {

std::vector<std::string> Grid(const CalendarModel& model) {
    std::vector<std::string> dates;
    for (int i = 0; i < CalendarModel::kCells; ++i) dates.push_back(Iso(model.CellDate(i)));
    return dates;
}

// The 42 dates of each month's grid by Python's calendar module: the weeks from Sunday that
// hold the month, started one week earlier when the month begins on a Sunday.
std::map<std::string, std::vector<std::string>> PythonGrids(const std::string& months) {
    const std::string script =
        "import calendar, datetime, sys\n"
        "for ym in sys.argv[1].split(','):\n"
        "    y, m = map(int, ym.split('-'))\n"
        "    first = datetime.date(y, m, 1)\n"
        "    start = calendar.Calendar(firstweekday=6).monthdatescalendar(y, m)[0][0]\n"
        "    if start == first: start -= datetime.timedelta(days=7)\n"
        "    print(ym, ' '.join(str(start + datetime.timedelta(days=i)) for i in range(42)))\n";
    TempDir dir;
    WriteBytes(dir.file("grid.py"), std::vector<std::uint8_t>(script.begin(), script.end()));
    std::istringstream out(RunCommand("/usr/bin/python3 " + dir.file("grid.py") + " " + months).output);
    std::map<std::string, std::vector<std::string>> grids;
    std::string month, date;
    while (out >> month) {
        auto& dates = grids[month];
        for (int i = 0; i < 42 && out >> date; ++i) dates.push_back(date);
    }
    return grids;
}

}  // namespace

TEST(CalendarGrid, MonthsStartingOnSundayAndSaturday) {
    ScopedTz tz("UTC");
    const CalendarModel january(CTime(2006, 1, 15, 12, 0, 0));
    EXPECT_EQ(Iso(january.CellDate(0)), "2005-12-25");
    EXPECT_EQ(Iso(january.CellDate(6)), "2005-12-31");
    EXPECT_EQ(Iso(january.CellDate(7)), "2006-01-01");
    EXPECT_EQ(Iso(january.CellDate(41)), "2006-02-04");
    const CalendarModel october(CTime(2005, 10, 20, 9, 0, 0));
    EXPECT_EQ(Iso(october.CellDate(0)), "2005-09-25");
    EXPECT_EQ(Iso(october.CellDate(6)), "2005-10-01");
    EXPECT_EQ(Iso(october.CellDate(37)), "2005-11-01");
    EXPECT_EQ(Iso(october.CellDate(41)), "2005-11-05");
}

// Every month of several years against Python, in a zone with daylight saving time and with the
// current time half an hour after midnight, where cells spaced by 86,400 s would skip or repeat
// a day.
TEST(CalendarGrid, EveryMonthMatchesAnIndependentCalendar) {
    ScopedTz tz("America/New_York");
    std::string months;
    for (const int year : {1999, 2000, 2006, 2024, 2025, 2037})
        for (int month = 1; month <= 12; ++month) months += (months.empty() ? "" : ",") + std::to_string(year) + "-" + std::to_string(month);
    const auto expected = PythonGrids(months);
    ASSERT_EQ(expected.size(), 72u);
    for (const auto& [month, dates] : expected) {
        int y = 0, m = 0;
        std::sscanf(month.c_str(), "%d-%d", &y, &m);
        for (const int hour : {0, 12, 23}) {
            const CalendarModel model(CTime(y, m, 15, hour, 30, 0));
            EXPECT_EQ(Grid(model), dates) << month << " at " << hour << ":30";
        }
    }
}

TEST(CalendarGrid, KeepsTheTimeOfDayAcrossADaylightSavingChange) {
    ScopedTz tz("America/New_York");
    const CalendarModel model(CTime(2006, 4, 15, 0, 30, 0));
    EXPECT_EQ(Iso(model.GetBaseTime()), "2006-03-26");
    for (int i = 0; i < CalendarModel::kCells; ++i) EXPECT_EQ(model.CellDate(i).GetHour(), 0) << i;
    EXPECT_EQ(Iso(model.CellDate(7)), "2006-04-02") << "the day of the change is in the grid";
}

class CalendarClicks : public testing::Test {
protected:
    CalendarClicks() : tz("UTC"), model(CTime(2006, 1, 15, 12, 0, 0)) { Record(model, calls); }
    ScopedTz tz;
    CalendarModel model;
    Calls calls;
};

TEST_F(CalendarClicks, ADayOfTheShownMonthOnlySelects) {
    EXPECT_FALSE(model.Click(10));
    EXPECT_EQ(calls.order, std::vector<std::string>{"day 2006-01-04"});
    EXPECT_EQ(Iso(model.GetClickDay()), "2006-01-04");
    EXPECT_EQ(Iso(model.CellDate(0)), "2005-12-25") << "the grid did not move";
}

TEST_F(CalendarClicks, AGreyDayOfTheNextMonthMovesTheGrid) {
    EXPECT_TRUE(model.Click(40));
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2006-02-03", "verbose 2006-2", "month 2006-02-03 0 0"}));
    EXPECT_EQ(Iso(model.CellDate(0)), "2006-01-29");
    EXPECT_EQ(model.TitleText(), "2006 February");
    EXPECT_FALSE(model.InShownMonth(0));
    EXPECT_TRUE(model.InShownMonth(3));
}

TEST_F(CalendarClicks, AVetoKeepsTheGridButNotTheCurrentTime) {
    model.Click(10);
    calls.order.clear();
    calls.veto = 1;
    EXPECT_FALSE(model.Click(0));
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2005-12-25", "verbose 2005-12"}));
    EXPECT_EQ(Iso(model.GetClickDay()), "2006-01-04") << "the clicked day is restored";
    EXPECT_EQ(Iso(model.GetCurrentTime()), "2005-12-25") << "the current time has moved";
    EXPECT_EQ(Iso(model.CellDate(0)), "2005-12-25");
    EXPECT_EQ(model.TitleText(), "2006 January");
}

TEST_F(CalendarClicks, NavigationButtonsMoveToTheirCellsMonths) {
    EXPECT_TRUE(model.ClickButton(CalendarModel::kNextMonth));
    EXPECT_EQ(Iso(model.GetCurrentTime()), "2006-02-04");
    EXPECT_TRUE(model.ClickButton(CalendarModel::kPreviousMonth));
    EXPECT_EQ(Iso(model.GetCurrentTime()), "2006-01-29") << "cell 0 of the February grid";
    EXPECT_EQ(model.TitleText(), "2006 January");
    EXPECT_EQ(calls.order.size(), 6u);
}

TEST(CalendarNavigation, DecemberIsFollowedByJanuaryOfTheNextYear) {
    ScopedTz tz("UTC");
    CalendarModel model(CTime(2005, 12, 10, 8, 0, 0));
    EXPECT_EQ(model.TitleText(), "2005 December");
    model.ClickButton(CalendarModel::kNextMonth);
    EXPECT_EQ(model.TitleText(), "2006 January");
}

TEST(CalendarNavigation, ProgrammaticClicksMoveOnlyTheCurrentTime) {
    ScopedTz tz("UTC");
    CalendarModel model(CTime(2006, 1, 15, 12, 0, 0));
    Calls calls;
    Record(model, calls);
    model.ArrayBtnClick(5, 6);
    EXPECT_EQ(Iso(model.GetClickDay()), "2006-02-04");
    EXPECT_EQ(Iso(model.GetCurrentTime()), "2006-02-04");
    EXPECT_EQ(Iso(model.CellDate(0)), "2005-12-25") << "the host rebuilds the grid if it wants";
    model.ArrayBtnClick(6, 0);
    model.ArrayBtnClick(-1, 3);
    EXPECT_EQ(Iso(model.GetClickDay()), "2006-02-04") << "cells outside the grid are ignored";
    EXPECT_TRUE(calls.order.empty());
}

TEST(CalendarNavigation, StopsAtTheEndsOfTheTimeRange) {
    ScopedTz tz("UTC");
    CalendarModel first(CTime(1970, 2, 10, 12, 0, 0));
    first.ClickButton(CalendarModel::kPreviousMonth);
    EXPECT_EQ(first.GetCurrentTime().GetMonth(), 2) << "January 1970's grid would start in 1969";
    CalendarModel last(CTime(2106, 1, 10, 12, 0, 0));
    last.ClickButton(CalendarModel::kNextMonth);
    EXPECT_EQ(last.GetCurrentTime().GetYear(), 2106);
    EXPECT_EQ(last.GetCurrentTime().GetMonth(), 1);
}

// Each name is kept in a 64-byte buffer: longer ones are cut to 63 bytes, never inside a
// character.
TEST(CalendarNames, LongHostNamesAreCutToTheirBuffers) {
    const std::string cutInsideACharacter = std::string(62, 'm') + "\xC3\xA9";  // "é" at bytes 62..63
    const TestStrings host({{7414, std::string(100, 's')}, {7421, cutInsideACharacter}});
    const CalendarModel model(CTime(2006, 1, 15, 12, 0, 0));
    EXPECT_EQ(model.WeekdayName(0), std::string(63, 's'));
    EXPECT_EQ(model.TitleText(), "2006 " + std::string(62, 'm'));
    EXPECT_EQ(model.WeekdayName(1), "Mon");
}

TEST(CalendarNames, NamesTheHostLacksShowTheirIdentifiers) {
    const NoHostStrings none;
    const CalendarModel model(CTime(2006, 1, 15, 12, 0, 0));
    EXPECT_EQ(model.WeekdayName(0), "[string 7414]");
    EXPECT_EQ(model.TitleText(), "2006 [string 7421]");
}
