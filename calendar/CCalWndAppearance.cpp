// The calendar window's colours, fonts and background.
#include "calendar/CCalWnd.h"

#include <climits>
#include <cstdint>

#include "platform/gdi/BmpFile.h"
#include "platform/gdi/RasterOp.h"

void CCalWnd::SetColor(COLORREF weekday, COLORREF sunday, COLORREF saturday, COLORREF gridLine,
                       COLORREF background) {
    m_weekdayColor = weekday;
    m_sundayColor = sunday;
    m_saturdayColor = saturday;
    m_gridLineColor = gridLine;
    m_backgroundColor = background;
}

void CCalWnd::SetBackColor(COLORREF weekday, COLORREF sunday, COLORREF saturday) {
    m_weekdayColor = weekday;
    m_sundayColor = sunday;
    m_saturdayColor = saturday;
    ForEachCell([&](CCalButton& cell) {
        const int day = cell.GetTime().GetDayOfWeek();
        cell.SetFaceColor(day == 1 ? sunday : day == 7 ? saturday : weekday);
    });
    SetMonthBackColor(weekday);
    for (size_t i = 0; i < m_headers.size(); ++i)
        if (m_headers[i]) m_headers[i]->SetBackColor(i == 0 ? sunday : i == 6 ? saturday : weekday);
}

void CCalWnd::SetMonthBackColor(COLORREF color) {
    if (m_nextMonth) m_nextMonth->SetFaceColor(color);
    if (m_previousMonth) m_previousMonth->SetFaceColor(color);
}

void CCalWnd::SetGridFontColor(COLORREF color) {
    ForEachCell([&](CCalButton& cell) { cell.SetColors(color, cell.GetFaceColor(), cell.GetDisabledFaceColor()); });
}

void CCalWnd::SetGridFont(COLORREF text, COLORREF face, int size, const char* faceName, int bold, int italic) {
    m_weekdayColor = face;
    ForEachCell([&](CCalButton& cell) { cell.SetCellFont(text, face, size, faceName, bold, italic); });
}

void CCalWnd::SetGridFontSize(int size) {
    ForEachCell([&](CCalButton& cell) { cell.SetFontSize(size); });
}

namespace {

void StyleLabel(CCalStatic& label, COLORREF text, COLORREF back, int size, const char* faceName, int bold,
                int italic) {
    label.SetFontColor(text);
    label.SetBackColor(back);
    label.SetFontSize(size);
    label.SetFontFace(faceName);
    label.SetFontBold(bold);
    label.SetFontItalic(italic);
}

}  // namespace

void CCalWnd::SetDayFont(COLORREF text, COLORREF back, int size, const char* faceName, int bold, int italic) {
    for (auto& header : m_headers)
        if (header) StyleLabel(*header, text, back, size, faceName, bold, italic);
}

void CCalWnd::SetTilteFont(COLORREF text, COLORREF back, int size, const char* faceName, int bold, int italic) {
    if (m_title && m_title->GetSafeHwnd()) StyleLabel(*m_title, text, back, size, faceName, bold, italic);
}

void CCalWnd::EnableGridSelect(int enable) {
    ForEachCell([&](CCalButton& cell) {
        if (cell.GetSafeHwnd()) cell.EnableWindow(enable != 0);
    });
}

namespace {

bool SameDay(CTime a, CTime b) {
    return a.GetYear() == b.GetYear() && a.GetMonth() == b.GetMonth() && a.GetDay() == b.GetDay();
}

}  // namespace

void CCalWnd::SetSpecialDayColor(CTime day, COLORREF color) {
    ForEachCell([&](CCalButton& cell) {
        if (SameDay(cell.GetTime(), day)) cell.SetFaceColor(color);
    });
}

void CCalWnd::SetSpecialDayClicked(CTime day, int flag) {
    ForEachCell([&](CCalButton& cell) {
        if (SameDay(cell.GetTime(), day)) cell.SetFocusRequest(flag);
    });
}

void CCalWnd::SetBitmap(const char* path, const CRect& rect) {
    CDC* dc = GetDC();
    CBitmap loaded;
    if (path) loaded.Attach(LoadBitmapFile(path));
    m_background = std::make_unique<CBitmap>();  // frees the one it replaces
    CopyBitmap(dc, m_background.get(), &loaded, rect);
    if (dc) ReleaseDC(dc);
    if (GetSafeHwnd()) Invalidate();
}

void CCalWnd::CopyBitmap(CDC* dc, CBitmap* destination, CBitmap* source, RECT rect) {
    if (!destination || !source || !source->GetSafeHandle()) return;
    // The edges are inclusive; sizes beyond what a bitmap can hold make no bitmap.
    const std::int64_t wide = std::int64_t{rect.right} - rect.left + 1, high = std::int64_t{rect.bottom} - rect.top + 1;
    if (wide > INT_MAX || high > INT_MAX) return;
    const int width = static_cast<int>(wide), height = static_cast<int>(high);
    if (!destination->CreateCompatibleBitmap(dc, width, height)) return;
    CDC from, to;
    from.CreateCompatibleDC(dc);
    to.CreateCompatibleDC(dc);
    CBitmap* oldFrom = from.SelectObject(source);
    CBitmap* oldTo = to.SelectObject(destination);
    to.BitBlt(0, 0, width, height, &from, rect.left, rect.top, SRCCOPY);
    from.SelectObject(oldFrom);
    to.SelectObject(oldTo);
}

BOOL CCalWnd::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    // Where the bitmap is smaller than the window, or could not be read, the colour shows.
    dc->FillSolidRect(client, m_backgroundColor);
    if (m_background && m_background->GetSafeHandle()) {
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* old = memory.SelectObject(m_background.get());
        dc->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    return TRUE;
}
