#include "calendar/CalendarModel.h"

#include <algorithm>
#include <cstdint>

#include "module/FixedText.h"
#include "module/HostContract.h"
#include "module/HostText.h"
#include "platform/core/CString.h"

namespace {

constexpr size_t kNameBuffer = 64;  // each name is held in 64 bytes with its terminator
// What the calendar shows before it has loaded the host's names.
constexpr const char* kBuiltInWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kBuiltInMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};

// The days from a date back to its grid's first cell: back to the 1st, then to the Sunday
// before it (a whole week when the 1st is a Sunday).
int DaysBackToBase(const std::tm& date) {
    const int weekdayOfFirst = ((date.tm_wday - (date.tm_mday - 1)) % 7 + 7) % 7;
    return (date.tm_mday - 1) + (weekdayOfFirst == 0 ? 7 : weekdayOfFirst);
}

// The local time `days` calendar days after the date of `from`, at `from`'s time of day (or the
// time the platform makes of it where that time does not exist on the day).
std::int64_t DaysLater(const std::tm& from, int days) {
    std::tm tm = from;
    tm.tm_mday += days;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

}  // namespace

CalendarModel::CalendarModel(CTime now) {
    SetResString();
    Start(now);
}

void CalendarModel::Start(CTime now) {
    m_current = m_clicked = now;
    SetBaseTime();
    SetBtnTime();
}

void CalendarModel::SetBaseTime() {
    const std::tm now = m_current.GetLocalTm();
    m_base = CTime(static_cast<DWORD>(DaysLater(now, -DaysBackToBase(now))));
}

void CalendarModel::SetBtnTime() {
    const std::tm base = m_base.GetLocalTm();
    for (int i = 0; i < kCells; ++i) m_cells[static_cast<size_t>(i)] = CTime(static_cast<DWORD>(DaysLater(base, i)));
    m_reference = m_current;
    MakeTitle();
}

bool CalendarModel::GridFits(CTime target) {
    const std::tm tm = target.GetLocalTm();
    const int back = DaysBackToBase(tm);
    return DaysLater(tm, -back) >= 0 && DaysLater(tm, kCells - 1 - back) <= std::int64_t{UINT32_MAX};
}

bool CalendarModel::MoveTo(CTime target, CTime previousClick) {
    m_current = target;
    if (m_verboseIndex && m_verboseIndex(m_clicked.GetYear(), m_clicked.GetMonth()) != 0) {
        m_clicked = previousClick;
        return false;
    }
    SetBaseTime();
    SetBtnTime();
    if (m_gridRebuilt) m_gridRebuilt();
    if (m_monthChanged) m_monthChanged(m_clicked, 0, 0);
    return true;
}

bool CalendarModel::Click(int index) {
    if (index < 0 || index >= kCells) return false;
    return ClickDate(CellDate(index));
}

bool CalendarModel::ClickDate(CTime date) {
    const CTime previous = m_clicked;
    if (!GridFits(date) && date.GetMonth() != m_current.GetMonth()) return false;
    m_clicked = date;
    if (m_daySelected) m_daySelected(m_clicked);
    if (date.GetMonth() == m_current.GetMonth()) return false;
    return MoveTo(date, previous);
}

bool CalendarModel::ClickButton(Kind kind) {
    if (kind == kDayCell) return false;
    const CTime previous = m_clicked;
    const CTime date = ButtonDate(kind);
    // Navigation stops at the ends of the 32-bit second count: the button does nothing there.
    if (!GridFits(date)) return false;
    m_clicked = date;
    if (m_daySelected) m_daySelected(m_clicked);
    return MoveTo(date, previous);
}

void CalendarModel::ArrayBtnClick(int row, int column) {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return;
    m_clicked = CellDate(row * kColumns + column);
    if (m_clicked.GetMonth() != m_current.GetMonth()) m_current = m_clicked;
}

int CalendarModel::CellShowing(CTime day, bool inMonth) const {
    const std::tm wanted = day.GetLocalTm();
    for (int i = 0; i < kCells; ++i) {
        const std::tm shown = CellDate(i).GetLocalTm();
        const bool same = shown.tm_year == wanted.tm_year && shown.tm_mon == wanted.tm_mon &&
                          shown.tm_mday == wanted.tm_mday;
        if (same && (!inMonth || InShownMonth(i))) return i;
    }
    return -1;
}

CTime CalendarModel::DaysAfter(CTime day, int days) {
    const std::int64_t later = DaysLater(day.GetLocalTm(), days);
    return later < 0 || later > std::int64_t{UINT32_MAX} ? day : CTime(static_cast<DWORD>(later));
}

CTime CalendarModel::SameDayIn(CTime day, int year, int month) {
    static constexpr int kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = month == 2 && !leap ? 28 : kMonthDays[month - 1];
    return CTime(year, month, std::min(day.GetDay(), last), 12, 0, 0);
}

CTime CalendarModel::SameDayMonthsAway(CTime day, int months) {
    const int index = day.GetYear() * 12 + (day.GetMonth() - 1) + months;
    return SameDayIn(day, index / 12, index % 12 + 1);
}

void CalendarModel::SetResString() {
    auto load = [](UINT id) { return std::string(FitText(HostText(id), kNameBuffer - 1)); };
    for (UINT i = 0; i < 7; ++i) m_weekdayNames.push_back(load(host::kFirstWeekdayName + i));
    for (UINT m = 0; m < 12; ++m) m_monthNames.push_back(load(host::kFirstMonthName + m));
}

std::string CalendarModel::WeekdayName(int weekday) const {
    const auto i = static_cast<size_t>(weekday);
    return m_weekdayNames.empty() ? kBuiltInWeekdays[i] : m_weekdayNames.at(i);
}

void CalendarModel::MakeTitle() {
    const int year = m_current.GetYear(), month = m_current.GetMonth();
    CString title;
    const auto i = static_cast<size_t>(month - 1);
    if (m_monthNames.empty()) title.Format(" %d , %s", year, kBuiltInMonths[i]);
    else title.Format("%d %s", year, m_monthNames.at(i).c_str());
    m_title = title.str();
}
