// The calendar window: its children and their places, the month it shows, clicks and the
// callbacks, closing, and creation by class name.
#include <gtest/gtest.h>

#include "calendar/CalendarLayout.h"
#include "tests/calendar/CalendarWindowFixture.h"

namespace {

using namespace calendar;

CRect Placed(CCalWnd& calendar, UINT id) {
    CWnd* child = calendar.GetDlgItem(id);
    return child ? child->GetRectInParent() : CRect();
}

// The children at the creation size, and after the calendar is resized to 500 x 340: the same
// rule places them again, so the cells grow with the window.
TEST_F(CalendarWindow, ChildrenArePlacedAsTheLayoutSaysAtCreationAndAfterAResize) {
    const CalendarLayout l = CalendarLayout::For(kWidth, kHeight);
    EXPECT_EQ(l.columnWidth, 47);
    EXPECT_EQ(l.rowHeight, 35);
    EXPECT_EQ(l.halfRow, 17);
    struct Case {
        UINT id;
        CRect created, resized;
    };
    const Case cases[] = {
        {kPreviousMonthId, CRect(62, 40, 109, 57), CRect(62, 40, 122, 60)},
        {kNextMonthId, CRect(344, 40, 391, 57), CRect(422, 40, 482, 60)},
        {kTitleId, CRect(149, 40, 304, 62), CRect(162, 40, 382, 65)},
        {kFirstHeaderId, CRect(62, 77, 109, 94), CRect(62, 80, 122, 100)},
        {kFirstHeaderId + 6, CRect(344, 77, 391, 94), CRect(422, 80, 482, 100)},
        {kFirstCellId, CRect(62, 94, 109, 129), CRect(62, 100, 122, 140)},
        {kFirstCellId + 6, CRect(344, 94, 391, 129), CRect(422, 100, 482, 140)},
        {kLastCellId, CRect(344, 269, 391, 304), CRect(422, 300, 482, 340)},
    };
    for (const Case& c : cases) EXPECT_EQ(Placed(calendar, c.id), c.created) << c.id;
    EXPECT_EQ(calendar.GetDlgItem(8044), nullptr);

    calendar.MoveWindow(kLeft, kTop, 500, 340);
    for (const Case& c : cases) EXPECT_EQ(Placed(calendar, c.id), c.resized) << c.id;
    // The last cell (a Saturday) is drawn where it now is, up to its new bottom right corner.
    EXPECT_EQ(backend.PixelAt(kLeft + 482 - 8, kTop + 340 - 8), kSaturdayFace);
}

TEST_F(CalendarWindow, ShowsTheMonthOfCreationWithNamesFromTheHost) {
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
    EXPECT_EQ(calendar.Header(0)->GetWindowTextString().str(), "Sun");
    EXPECT_EQ(calendar.Header(6)->GetWindowTextString().str(), "Sat");
    EXPECT_EQ(calendar.PreviousMonthButton()->GetWindowTextString().str(), "Prev");
    EXPECT_EQ(calendar.NextMonthButton()->GetWindowTextString().str(), "Next");
    // 1 January 2006 is a Sunday: the grid starts a whole week before it.
    EXPECT_EQ(Iso(calendar.Cell(0)->GetTime()), "2005-12-25");
    EXPECT_EQ(Iso(calendar.Cell(7)->GetTime()), "2006-01-01");
    EXPECT_EQ(Iso(calendar.Cell(41)->GetTime()), "2006-02-04");
    EXPECT_EQ(calendar.Cell(7)->GetWindowTextString().str(), "1");
    EXPECT_EQ(calendar.Cell(0)->GetWindowTextString().str(), "25");
    EXPECT_EQ(Iso(calendar.NextMonthButton()->GetTime()), "2006-02-04");
    EXPECT_EQ(Iso(calendar.PreviousMonthButton()->GetTime()), "2005-12-25");
}

TEST_F(CalendarWindow, ClickingADayOfTheShownMonthOnlySelectsIt) {
    ui.Click(CellOf("2006-01-18"));
    EXPECT_EQ(calls.order, std::vector<std::string>{"day 2006-01-18"});
    EXPECT_EQ(Iso(calendar.GetClickDay()), "2006-01-18");
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
}

TEST_F(CalendarWindow, ClickingAGreyDayMovesTheGridBeforeTheMonthChangeIsReported) {
    std::string titleSeen;
    calendar.SetCBChangedMonth([&](CTime day, int a, int b) {
        titleSeen = calendar.Title()->GetWindowTextString().str();
        calls.order.push_back("month " + Iso(day) + " " + std::to_string(a) + " " + std::to_string(b));
    });
    ui.Click(*calendar.Cell(40));  // 3 February
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2006-02-03", "verbose 2006-2", "month 2006-02-03 0 0"}));
    EXPECT_EQ(titleSeen, "2006 February");
    EXPECT_EQ(Iso(calendar.Cell(0)->GetTime()), "2006-01-29");
    EXPECT_EQ(calendar.Cell(3)->GetWindowTextString().str(), "1");
}

TEST_F(CalendarWindow, MonthButtonsStepToTheMonthsOfTheGridsEnds) {
    ui.Click(*calendar.NextMonthButton());
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2006-02-04", "verbose 2006-2", "month 2006-02-04 0 0"}));
    EXPECT_EQ(Iso(calendar.GetCurrentTime()), "2006-02-04");
    calls.order.clear();
    ui.Click(*calendar.PreviousMonthButton());
    ui.Click(*calendar.PreviousMonthButton());
    EXPECT_EQ(calls.order.back(), "month 2005-12-25 0 0");
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2005 December");
    ui.Click(*calendar.NextMonthButton());
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
}

TEST_F(CalendarWindow, AVetoKeepsTheGridAndTheClickedDay) {
    ui.Click(CellOf("2006-01-10"));
    calls.veto = 1;
    calls.order.clear();
    ui.Click(*calendar.Cell(40));
    EXPECT_EQ(calls.order, (std::vector<std::string>{"day 2006-02-03", "verbose 2006-2"}));
    EXPECT_EQ(Iso(calendar.GetClickDay()), "2006-01-10");
    EXPECT_EQ(Iso(calendar.GetCurrentTime()), "2006-02-03") << "the current time has moved all the same";
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
    EXPECT_EQ(Iso(calendar.Cell(0)->GetTime()), "2005-12-25");
}

TEST_F(CalendarWindow, TheHostMovesTheGridWithoutCallbacks) {
    calendar.SetCurrentTime(CTime(2005, 12, 20, 8, 0, 0));
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January") << "nothing moves before SetBtnTime";
    calendar.SetBaseTime();
    calendar.SetBtnTime();
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2005 December");
    EXPECT_EQ(Iso(calendar.Cell(41)->GetTime()), "2006-01-07");
    // New dates reset the faces to the base one; the weekends get theirs back all the same.
    EXPECT_EQ(FaceAt(CellOf("2005-12-04")), kSundayFace);
    EXPECT_EQ(FaceAt(CellOf("2005-12-10")), kSaturdayFace);
    EXPECT_EQ(FaceAt(CellOf("2005-12-06")), kGrey);
    // December's last cells are January's: the following month comes with the next year.
    ui.Click(*calendar.NextMonthButton());
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
    EXPECT_EQ(calls.order.size(), 3u);
}

TEST_F(CalendarWindow, ProgrammaticClicksIgnoreCellsOutsideTheGrid) {
    calendar.ArrayBtnClick(5, 6);
    EXPECT_EQ(Iso(calendar.GetClickDay()), "2006-02-04");
    EXPECT_EQ(Iso(calendar.GetCurrentTime()), "2006-02-04");
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January") << "nothing is rebuilt";
    for (auto [row, column] : {std::pair{-1, 0}, {6, 0}, {0, -1}, {0, 7}}) calendar.ArrayBtnClick(row, column);
    EXPECT_EQ(Iso(calendar.GetClickDay()), "2006-02-04");
    EXPECT_TRUE(calls.order.empty());
}

TEST_F(CalendarWindow, ClosingFreesTheChildrenAndLaterStylingIsHarmless) {
    calendar.SendMessage(WM_CLOSE);
    EXPECT_EQ(calendar.Cell(0), nullptr);
    EXPECT_EQ(calendar.Title(), nullptr);
    EXPECT_EQ(calendar.BackgroundBitmap(), nullptr);
    calendar.SetBackColor(1, 2, 3);
    calendar.SetGridFont(0, 1, 12, "serif", 1, 0);
    calendar.SetTilteFont(0, 1, 12, "serif", 1, 0);
    calendar.SetSpecialDayColor(CTime(2006, 1, 2, 0, 0, 0), 0xFF);
    calendar.SetBtnTime();
}

TEST(CalendarClass, IsCreatedByItsName) {
    const CRuntimeClass* cls = CRuntimeClass::FromName("CCalWnd");
    ASSERT_NE(cls, nullptr);
    std::unique_ptr<CObject> object(cls->CreateObject());
    auto* calendar = dynamic_cast<CCalWnd*>(object.get());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->GetRuntimeClass(), cls);
}

// A host that asks for the names again (or registers its strings late) gets the first ones.
TEST_F(CalendarWindow, LoadingTheNamesAgainChangesNothingShown) {
    calendar.SetResString();
    calendar.SetBtnTime();
    EXPECT_EQ(calendar.Title()->GetWindowTextString().str(), "2006 January");
}

}  // namespace
