#pragma once
// The month calendar's model, with no window in it: the month shown, the dates of its 6 x 7 grid
// of day cells and of the two navigation buttons, the clicked day, the title, and what a click
// does, with the host's three callbacks. The calendar window places one button per cell and
// asks this model what each shows and what a click means.
//
// Every cell's date is found by calendar arithmetic on local dates, at the current time's time
// of day where that time exists on the cell's day, so a daylight-saving change never skips or
// repeats a day of the grid.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/CTime.h"

class CalendarModel {
public:
    static constexpr int kRows = 6, kColumns = 7, kCells = kRows * kColumns;
    enum Kind { kDayCell = 0, kPreviousMonth = 1, kNextMonth = 2 };

    using DaySelected = std::function<void(CTime)>;
    using VerboseIndex = std::function<int(int year, int month)>;
    using MonthChanged = std::function<void(CTime, int, int)>;

    // A model with no names and no grid yet: the calendar window loads the names and starts it
    // when its window is created.
    CalendarModel() = default;
    // Loads the names (SetResString) and starts at `now`.
    explicit CalendarModel(CTime now);
    // Shows the month of `now`; the clicked day starts as `now` too.
    void Start(CTime now);

    void SetCBSelectDay(DaySelected callback) { m_daySelected = std::move(callback); }
    void SetCBVerboseIndex(VerboseIndex callback) { m_verboseIndex = std::move(callback); }
    void SetCBChangedMonth(MonthChanged callback) { m_monthChanged = std::move(callback); }
    // Called when a click has rebuilt the grid, before the month-changed callback, so that the
    // view shows the new month by the time the host hears of it.
    void SetGridRebuilt(std::function<void()> rebuilt) { m_gridRebuilt = std::move(rebuilt); }

    // Stores the current time only; SetBaseTime and SetBtnTime then move the grid to its month.
    void SetCurrentTime(CTime time) { m_current = time; }
    CTime GetCurrentTime() const { return m_current; }
    // Computes the grid's first cell: the Sunday 1 to 7 days before the 1st of the shown month.
    void SetBaseTime();
    // Gives every cell and both navigation buttons their dates for the grid's month.
    void SetBtnTime();

    CTime GetBaseTime() const { return m_base; }
    CTime GetClickDay() const { return m_clicked; }
    // The date a cell or navigation button shows (kind kDayCell with index 0..41, or a button).
    CTime CellDate(int index) const { return m_cells[static_cast<size_t>(index)]; }
    CTime ButtonDate(Kind kind) const { return kind == kPreviousMonth ? m_cells.front() : m_cells.back(); }
    // The month (1..12) the grid was built for: a cell is in the shown month when its month
    // number equals this one (years are not compared).
    int ShownMonth() const { return m_reference.GetMonth(); }
    int ShownYear() const { return m_reference.GetYear(); }
    bool InShownMonth(int index) const { return CellDate(index).GetMonth() == ShownMonth(); }

    // What a click on cell `index` (0..41) or a navigation button does: the callbacks in their
    // order, and the grid rebuilt when the click leaves the shown month and no verbose-index
    // callback vetoes it. Returns true if the grid was rebuilt (the view then repaints it).
    bool Click(int index);
    bool ClickButton(Kind kind);
    // A click on a day, whether or not the grid shows it: what a click on its cell does.
    bool ClickDate(CTime date);
    // A click without callbacks: the clicked day becomes the cell's date, and the current time
    // moves to it if it lies outside the shown month; the grid stays. Cells outside the grid
    // are ignored.
    void ArrayBtnClick(int row, int column);
    // Whether every cell of the grid of `target`'s month lies within the 32-bit second count
    // (1970 to 2106); clicks do not move the grid to a month where it does not.
    static bool GridFits(CTime target);
    // The cell showing `day`'s local date, or -1; only cells of the shown month when `inMonth`.
    int CellShowing(CTime day, bool inMonth) const;
    // `day` moved by whole local days, at its time of day.
    static CTime DaysAfter(CTime day, int days);
    // The day of `year` and `month` (1..12) with `day`'s day of the month, or the month's last
    // day when it is shorter, at noon.
    static CTime SameDayIn(CTime day, int year, int month);
    // SameDayIn the month `months` before (negative) or after `day`'s.
    static CTime SameDayMonthsAway(CTime day, int months);

    // The names the title and the weekday headers show: host strings 7414.. (weekdays from
    // Sunday) and 7421.. (months from January), each cut to the 63 bytes of its buffer at a
    // character boundary; a missing string gives an empty name. Each call appends; only the
    // first 7 and 12 names are read. Until the first call, built-in English names are shown.
    void SetResString();
    std::string WeekdayName(int weekday) const;
    // The title made by the last SetBtnTime: "2006 January" ("%d %s" of the year and the month
    // name).
    const std::string& TitleText() const { return m_title; }

private:
    bool MoveTo(CTime target, CTime previousClick);
    void MakeTitle();

    CTime m_current, m_clicked, m_base, m_reference;
    std::array<CTime, kCells> m_cells{};
    std::string m_title;
    std::vector<std::string> m_weekdayNames, m_monthNames;
    DaySelected m_daySelected;
    VerboseIndex m_verboseIndex;
    MonthChanged m_monthChanged;
    std::function<void()> m_gridRebuilt;
};
