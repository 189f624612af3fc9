#pragma once
// The month calendar control: a child window that shows one month as a title line with the
// two month buttons, a row of weekday headers and a 6 x 7 grid of day cells. The host creates
// it inside one of its own windows, registers its callbacks, styles it, and hears of clicks
// through the callbacks:
//   - day selected: every click on a cell or a month button, with the clicked date;
//   - verbose index: when a click leaves the shown month, with the year and month (1..12) of
//     the clicked date, before the grid moves; a non-zero answer keeps the grid where it is;
//   - month changed: after the grid has moved to the new month, with (date, 0, 0).
// The dates, the clicks and the names come from CalendarModel; this class places the child
// controls, keeps them in step with the model, and holds the colours, fonts and background.
//
// Dynamically creatable under the runtime class name "CCalWnd". Everything runs on the
// window's thread.
#include <array>
#include <memory>

#include "calendar/CCalButton.h"
#include "calendar/CCalStatic.h"
#include "calendar/CalendarIds.h"
#include "calendar/CalendarModel.h"
#include "platform/gdi/CBitmap.h"
#include "platform/ui/CWnd.h"

class CCalWnd : public CWnd {
public:
    static constexpr int kCells = CalendarModel::kCells;

    CCalWnd() = default;
    ~CCalWnd() override;

    // Creates the window, then takes the background from the bitmap file `bitmapPath`, cut to
    // `bitmapRect` (inclusive edges). FALSE when the window could not be created.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* param, const char* bitmapPath, const CRect& bitmapRect);
    using CWnd::CreateEx;

    // --- callbacks (plain functions or any callable), read at every click
    void SetCBChangedMonth(CalendarModel::MonthChanged callback) { m_model.SetCBChangedMonth(std::move(callback)); }
    void SetCBSelectDay(CalendarModel::DaySelected callback) { m_model.SetCBSelectDay(std::move(callback)); }
    void SetCBVerboseIndex(CalendarModel::VerboseIndex callback) { m_model.SetCBVerboseIndex(std::move(callback)); }

    // --- the month shown
    // Stores the current time only; SetBaseTime and SetBtnTime then move the grid to its month.
    void SetCurrentTime(CTime time) { m_model.SetCurrentTime(time); }
    CTime GetCurrentTime() const { return m_model.GetCurrentTime(); }
    void SetBaseTime() { m_model.SetBaseTime(); }
    // Gives every cell and both month buttons their dates, the weekday and weekend faces, and
    // the title its text.
    void SetBtnTime();
    CTime GetClickDay() const { return m_model.GetClickDay(); }
    // A click on cell (row, column) without callbacks or redrawing: the clicked day becomes its
    // date and, when that lies outside the shown month, so does the current time. Cells outside
    // the 6 x 7 grid are ignored.
    void ArrayBtnClick(int row, int column) { m_model.ArrayBtnClick(row, column); }
    // Loads the weekday and month names and the month buttons' captions from the host.
    void SetResString();

    // --- colours and fonts
    // Stores the colours only: they show from the next creation or month change.
    void SetColor(COLORREF weekday, COLORREF sunday, COLORREF saturday, COLORREF gridLine, COLORREF background);
    // Faces of the cells by weekday, of the month buttons, and backgrounds of the headers.
    void SetBackColor(COLORREF weekday, COLORREF sunday, COLORREF saturday);
    // The month buttons' face, until the next month change.
    void SetMonthBackColor(COLORREF color);
    // The cells' text colour, until their dates next change.
    void SetGridFontColor(COLORREF color);
    // Stored; the grid is drawn by the cells' own frames, not in this colour.
    void SetGridLineColor(COLORREF color) { m_gridLineColor = color; }
    // The cells' text, face (kept as the weekday colour across month changes) and font.
    void SetGridFont(COLORREF text, COLORREF face, int size, const char* faceName, int bold, int italic);
    void SetGridFontSize(int size);
    void SetDayFont(COLORREF text, COLORREF back, int size, const char* faceName, int bold, int italic);
    // Does nothing before the title exists.
    void SetTilteFont(COLORREF text, COLORREF back, int size, const char* faceName, int bold, int italic);
    void EnableGridSelect(int enable);
    // The face of the cell showing `day` (same year, month and day), until the next month change.
    void SetSpecialDayColor(CTime day, COLORREF color);
    // Marks the cell showing `day` to take the focus when it is next painted.
    void SetSpecialDayClicked(CTime day, int flag);

    // --- background
    // Cuts `rect` (inclusive edges) out of the bitmap file at `path` as the window's background;
    // an earlier background bitmap is freed. A file that cannot be read leaves an empty one.
    void SetBitmap(const char* path, const CRect& rect);
    // Makes `destination` a new bitmap holding `rect` (inclusive edges) of `source`; nothing
    // when `source` holds no bitmap.
    void CopyBitmap(CDC* dc, CBitmap* destination, CBitmap* source, RECT rect);

    // --- the keyboard
    // The keys (CalendarKeys.h) reach the calendar from itself or from any of its buttons that
    // has the focus. Each is a click on the day it reaches: arrows a day or a week away, Page Up
    // and Page Down the same day of the month before or after (its last day when shorter), Home
    // today, Enter the focused day. After every key and every click on a cell or month button,
    // the clicked day (the one the host was told of) is the day drawn focused.
    // The day the keys move from: the focused cell's, else the clicked day, moved into the shown
    // month when it is not there.
    CTime FocusedDay() const;

    // --- what a person sees, for the host and the tests
    CCalButton* Cell(int index) const { return m_cells.at(static_cast<size_t>(index)).get(); }
    CCalButton* PreviousMonthButton() const { return m_previousMonth.get(); }
    CCalButton* NextMonthButton() const { return m_nextMonth.get(); }
    CCalStatic* Title() const { return m_title.get(); }
    CCalStatic* Header(int weekday) const { return m_headers.at(static_cast<size_t>(weekday)).get(); }
    CBitmap* BackgroundBitmap() const { return m_background.get(); }

    const CRuntimeClass* GetRuntimeClass() const override;
    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnClose();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnArrayBtnClick(UINT id);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    // The children are placed again for the new size: the cells grow and shrink with it.
    LRESULT OnSize(WPARAM type, LPARAM size);
    void AllocControls();
    void CreateButtons(int width, int height);

private:
    void CreateLabel(CCalStatic& label, const char* text, const CRect& rect, UINT id, int fontSize, COLORREF back);
    void ShowDates();
    void ShowMonth();
    // A click on `day`: on its cell where the grid shows it.
    void ClickDay(CTime day);
    // Gives the focus to the cell showing the clicked day in the shown month, if there is one.
    void FocusClickedDay();
    // Runs `apply` on each cell that exists (none before creation or after closing).
    template <typename Apply>
    void ForEachCell(Apply&& apply) {
        for (auto& cell : m_cells)
            if (cell) apply(*cell);
    }

    CalendarModel m_model;
    std::array<std::unique_ptr<CCalButton>, kCells> m_cells;
    std::unique_ptr<CCalButton> m_previousMonth, m_nextMonth;
    std::unique_ptr<CCalStatic> m_title;
    std::array<std::unique_ptr<CCalStatic>, 7> m_headers;
    CString m_nextMonthCaption, m_previousMonthCaption;
    std::unique_ptr<CBitmap> m_background;
    COLORREF m_weekdayColor = calendar::kGrey;
    COLORREF m_sundayColor = calendar::kSundayFace;
    COLORREF m_saturdayColor = calendar::kSaturdayFace;
    COLORREF m_gridLineColor = 0;
    COLORREF m_backgroundColor = calendar::kGrey;
};

extern const CRuntimeClass* const classCCalWnd;
