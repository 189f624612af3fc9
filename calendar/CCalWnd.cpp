#include "calendar/CCalWnd.h"

#include "calendar/CalendarLayout.h"
#include "module/HostContract.h"
#include "module/HostText.h"

using namespace calendar;

namespace {


CString CellIndexCaption(int index) {
    CString caption;
    caption.Format("%d ", index);
    return caption;
}

}  // namespace

const CRuntimeClass* const classCCalWnd = RegisterDynamicClass<CCalWnd>("CCalWnd");

const CRuntimeClass* CCalWnd::GetRuntimeClass() const { return classCCalWnd; }

const MessageMap* CCalWnd::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CCalWnd::OnCreate>(),
        msgmap::OnClose<&CCalWnd::OnClose>(),
        msgmap::OnEraseBkgnd<&CCalWnd::OnEraseBkgnd>(),
        msgmap::OnKey<&CCalWnd::OnKeyDown>(WM_KEYDOWN),
        msgmap::OnMessage<&CCalWnd::OnSize>(WM_SIZE),
        msgmap::OnCommandRange<&CCalWnd::OnArrayBtnClick>(BN_CLICKED, kFirstCellId, kNextMonthId),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

CCalWnd::~CCalWnd() = default;

BOOL CCalWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                       CWnd* parent, UINT id, void* param, const char* bitmapPath, const CRect& bitmapRect) {
    const BOOL created = CWnd::CreateEx(exStyle, className, windowName, style, rect, parent, id, param);
    SetBitmap(bitmapPath, bitmapRect);
    return created;
}

int CCalWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    SetResString();
    AllocControls();
    m_model.SetGridRebuilt([this] { ShowMonth(); });
    m_model.Start(CTime::GetCurrentTime());
    ShowDates();
    CreateButtons(cs->cx, cs->cy);
    return 0;
}

void CCalWnd::SetResString() {
    m_model.SetResString();
    m_previousMonthCaption = CString(HostText(host::kPreviousMonthCaption));
    m_nextMonthCaption = CString(HostText(host::kNextMonthCaption));
}

void CCalWnd::AllocControls() {
    m_previousMonth = std::make_unique<CCalButton>();
    m_nextMonth = std::make_unique<CCalButton>();
    m_title = std::make_unique<CCalStatic>();
    for (auto& header : m_headers) header = std::make_unique<CCalStatic>();
    for (auto& cell : m_cells) cell = std::make_unique<CCalButton>();
}

void CCalWnd::CreateLabel(CCalStatic& label, const char* text, const CRect& rect, UINT id, int fontSize,
                          COLORREF back) {
    label.Create(text, kLabelStyle, rect, this, id);
    label.SetFontSize(fontSize);
    label.SetFontBold(1);
    label.SetBackColor(back);
}

void CCalWnd::CreateButtons(int width, int height) {
    const CalendarLayout layout = CalendarLayout::For(width, height);
    m_previousMonth->SetKind(CCalButton::kPreviousMonth);
    m_nextMonth->SetKind(CCalButton::kNextMonth);
    m_previousMonth->Create(m_previousMonthCaption.c_str(), kButtonStyle, layout.previousMonth, this, kPreviousMonthId);
    m_nextMonth->Create(m_nextMonthCaption.c_str(), kButtonStyle, layout.nextMonth, this, kNextMonthId);

    CreateLabel(*m_title, m_model.TitleText().c_str(), layout.title, kTitleId, kTitleFontSize, m_backgroundColor);
    m_title->SetEdge(1);
    for (int i = 0; i < 7; ++i) {
        const COLORREF back = i == 0 ? m_sundayColor : i == 6 ? m_saturdayColor : m_backgroundColor;
        CreateLabel(*m_headers[i], m_model.WeekdayName(i).c_str(), layout.headers[i], kFirstHeaderId + i,
                    kHeaderFontSize, back);
    }
    // A cell shows its index until its window exists and it takes its day's caption.
    for (int i = 0; i < kCells; ++i)
        m_cells[i]->Create(CellIndexCaption(i).c_str(), kButtonStyle, layout.cells[i], this, kFirstCellId + i);
}

// WM_SIZE gives the client size; the layout comes from the window's size, as at creation.
LRESULT CCalWnd::OnSize(WPARAM, LPARAM) {
    const CRect window = GetRectInParent();
    const CalendarLayout layout = CalendarLayout::For(window.Width(), window.Height());
    auto place = [](const auto& child, const CRect& rect) {
        if (child) child->MoveWindow(rect);
    };
    place(m_previousMonth, layout.previousMonth);
    place(m_nextMonth, layout.nextMonth);
    place(m_title, layout.title);
    for (int i = 0; i < 7; ++i) place(m_headers[i], layout.headers[i]);
    for (int i = 0; i < kCells; ++i) place(m_cells[i], layout.cells[i]);
    return 0;
}

void CCalWnd::ShowDates() {
    const CTime reference = m_model.GetCurrentTime();
    for (int i = 0; i < kCells; ++i)
        if (m_cells[i]) m_cells[i]->SetTime(m_model.CellDate(i), reference);
    if (m_previousMonth) m_previousMonth->SetTime(m_model.ButtonDate(CalendarModel::kPreviousMonth), reference);
    if (m_nextMonth) m_nextMonth->SetTime(m_model.ButtonDate(CalendarModel::kNextMonth), reference);
    if (m_title && m_title->GetSafeHwnd()) m_title->SetWindowText(m_model.TitleText().c_str());
}

void CCalWnd::SetBtnTime() {
    m_model.SetBtnTime();
    ShowMonth();
}

void CCalWnd::ShowMonth() {
    ShowDates();
    // A cell's new date resets its face to the base one: give the weekends theirs again.
    SetBackColor(m_weekdayColor, m_sundayColor, m_saturdayColor);
}

void CCalWnd::OnArrayBtnClick(UINT id) {
    if (id >= kFirstCellId && id <= kLastCellId) m_model.Click(static_cast<int>(id - kFirstCellId));
    else if (id == kNextMonthId) m_model.ClickButton(CalendarModel::kNextMonth);
    else if (id == kPreviousMonthId) m_model.ClickButton(CalendarModel::kPreviousMonth);
    else return;
    // The clicked cell, or the month button, had the focus; the day the host was just told of
    // takes it, wherever the new grid shows it.
    FocusClickedDay();
}

void CCalWnd::OnClose() {
    auto close = [](auto& child) {
        if (!child || !IsWindow(child->GetSafeHwnd())) return;
        child->SendMessage(WM_CLOSE);
        child.reset();
    };
    for (auto& cell : m_cells) close(cell);
    close(m_previousMonth);
    close(m_nextMonth);
    for (auto& header : m_headers) close(header);
    close(m_title);
    m_background.reset();
    CWnd::OnClose();
}
