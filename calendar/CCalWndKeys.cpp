// The calendar's keyboard: arrows move the focused day, Page Up and Page Down step the month,
// Home goes to today, Enter clicks the focused day. A key that leaves the shown month moves the
// grid exactly as a click on the day it reaches does (callbacks, veto and all), and the month
// keys are clicks on the month buttons, so the host hears of keys as it hears of clicks.
#include "calendar/CCalWnd.h"

using namespace calendar;

namespace {

constexpr int kWeek = 7;

}  // namespace

void CCalWnd::OnKeyDown(UINT key, UINT, UINT) {
    const CTime from = FocusedDay();
    switch (key) {
    case VK_LEFT: MoveFocusTo(CalendarModel::DaysAfter(from, -1)); break;
    case VK_RIGHT: MoveFocusTo(CalendarModel::DaysAfter(from, 1)); break;
    case VK_UP: MoveFocusTo(CalendarModel::DaysAfter(from, -kWeek)); break;
    case VK_DOWN: MoveFocusTo(CalendarModel::DaysAfter(from, kWeek)); break;
    case VK_HOME: MoveFocusTo(CTime::GetCurrentTime()); break;
    case VK_PRIOR: StepMonth(kPreviousMonthId, from); break;
    case VK_NEXT: StepMonth(kNextMonthId, from); break;
    case VK_RETURN: ClickDay(from); break;
    default: break;
    }
}

CTime CCalWnd::FocusedDay() const {
    for (int i = 0; i < kCells; ++i)
        if (CWnd::GetFocus() == m_cells[i].get() && m_model.InShownMonth(i)) return m_model.CellDate(i);
    if (m_model.CellShowing(m_focusDay, true) >= 0) return m_focusDay;
    return CalendarModel::SameDayIn(m_focusDay, m_model.ShownYear(), m_model.ShownMonth());
}

void CCalWnd::ClickDay(CTime day) {
    const int cell = m_model.CellShowing(day, false);
    if (cell >= 0) OnArrayBtnClick(kFirstCellId + static_cast<UINT>(cell));
    else m_model.ClickDate(day);
    FocusCellOf(day);
}

void CCalWnd::MoveFocusTo(CTime day) {
    if (m_model.CellShowing(day, true) < 0) ClickDay(day);
    else FocusCellOf(day);
}

void CCalWnd::StepMonth(UINT buttonId, CTime from) {
    const int before = m_model.ShownMonth();
    OnArrayBtnClick(buttonId);
    if (m_model.ShownMonth() == before) return;  // the host kept the month
    FocusCellOf(CalendarModel::SameDayIn(from, m_model.ShownYear(), m_model.ShownMonth()));
}

void CCalWnd::FocusCellOf(CTime day) {
    const int cell = m_model.CellShowing(day, true);
    if (cell < 0 || !m_cells[cell] || !m_cells[cell]->GetSafeHwnd()) return;
    m_focusDay = day;
    m_cells[cell]->SetFocus();
}
