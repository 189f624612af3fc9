#include "calendar/CCalStatic.h"

#include "calendar/CalendarFont.h"
#include "platform/gdi/StockObjects.h"

using namespace calendar;

CCalStatic::CCalStatic() : m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_fontDescription(DefaultGuiFontDescription()) {
    m_backBrush.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    m_font.CreateFontIndirect(&m_fontDescription);
}

const MessageMap* CCalStatic::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCtlColorReflect<&CCalStatic::CtlColor>(),
    };
    static const MessageMap map{CStatic::ThisMessageMap(), entries};
    return &map;
}

HBRUSH CCalStatic::CtlColor(CDC* dc, UINT) {
    dc->SelectObject(&m_font);
    dc->SetTextColor(m_textColor);
    dc->SetBkMode(TRANSPARENT);
    return m_backBrush;
}

void CCalStatic::Repaint() {
    RedrawWindow();  // nothing without a window
}

void CCalStatic::FontChanged() {
    Recreate(m_font, m_fontDescription);
    Repaint();
}

void CCalStatic::SetFontColor(COLORREF color) {
    m_textColor = color;
    Repaint();
}

void CCalStatic::SetBackColor(COLORREF color) {
    m_backBrush.DeleteObject();
    m_backBrush.CreateSolidBrush(color);
    Repaint();
}

void CCalStatic::SetFontSize(int size) {
    SetSize(m_fontDescription, size);
    FontChanged();
}

void CCalStatic::SetFontFace(const char* name) {
    SetFaceName(m_fontDescription, name);
    FontChanged();
}

void CCalStatic::SetFontBold(int bold) {
    SetBold(m_fontDescription, bold);
    FontChanged();
}

void CCalStatic::SetFontItalic(int italic) {
    SetItalic(m_fontDescription, italic);
    FontChanged();
}

void CCalStatic::SetEdge(int edge) {
    // The window system redraws the frame whenever the extended style changes.
    ModifyStyleEx(edge ? 0 : WS_EX_STATICEDGE, edge ? WS_EX_STATICEDGE : 0);
}
