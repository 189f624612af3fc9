// The calendar's keyboard: arrows move the chosen day, Page Up and Page Down go to the same day
// of the month before or after, Home goes to today, Enter chooses the focused day again. Each key
// is a click on the day it reaches, so the host hears of keys as it hears of clicks (the day,
// and a month change it may veto), and the day it was told of is the day drawn focused.
#include "calendar/CCalWnd.h"

using namespace calendar;

namespace {

constexpr int kWeek = 7;

}  // namespace

void CCalWnd::OnKeyDown(UINT key, UINT, UINT) {
    const CTime from = FocusedDay();
    switch (key) {
    case VK_LEFT: ClickDay(CalendarModel::DaysAfter(from, -1)); break;
    case VK_RIGHT: ClickDay(CalendarModel::DaysAfter(from, 1)); break;
    case VK_UP: ClickDay(CalendarModel::DaysAfter(from, -kWeek)); break;
    case VK_DOWN: ClickDay(CalendarModel::DaysAfter(from, kWeek)); break;
    case VK_HOME: ClickDay(CTime::GetCurrentTime()); break;
    case VK_PRIOR: ClickDay(CalendarModel::SameDayMonthsAway(from, -1)); break;
    case VK_NEXT: ClickDay(CalendarModel::SameDayMonthsAway(from, 1)); break;
    case VK_RETURN: ClickDay(from); break;
    default: break;
    }
}

CTime CCalWnd::FocusedDay() const {
    for (int i = 0; i < kCells; ++i)
        if (CWnd::GetFocus() == m_cells[i].get() && m_model.InShownMonth(i)) return m_model.CellDate(i);
    const CTime clicked = m_model.GetClickDay();
    if (m_model.CellShowing(clicked, true) >= 0) return clicked;
    return CalendarModel::SameDayIn(clicked, m_model.ShownYear(), m_model.ShownMonth());
}

void CCalWnd::ClickDay(CTime day) {
    // A day the grid shows is a click on its cell, so the host is told the cell's own date.
    const int cell = m_model.CellShowing(day, false);
    if (cell >= 0) return OnArrayBtnClick(kFirstCellId + static_cast<UINT>(cell));
    m_model.ClickDate(day);
    FocusClickedDay();
}

void CCalWnd::FocusClickedDay() {
    const int cell = m_model.CellShowing(m_model.GetClickDay(), true);
    if (cell < 0 || !m_cells[cell] || !m_cells[cell]->GetSafeHwnd()) return;
    m_cells[cell]->SetFocus();
}
