#include "calendar/CCalButton.h"

#include "calendar/ButtonEdges.h"
#include "calendar/CalendarKeys.h"
#include "calendar/CalendarFont.h"
#include "calendar/CalendarIds.h"
#include "platform/gdi/StockObjects.h"

using namespace calendar;

namespace {

constexpr int kCaptionLimit = 511;   // characters of the caption that are drawn
constexpr int kDayCaptionMargin = 10;
constexpr int kFocusInset = 4;

CString DayCaption(CTime date) {
    CString caption;
    caption.Format("%d", date.GetDay());
    return caption;
}

}  // namespace

CCalButton::CCalButton()
    : m_textColor(GetSysColor(COLOR_BTNTEXT)),
      m_faceColor(kGrey),
      m_disabledFaceColor(kGrey),
      m_borderLight(GetSysColor(COLOR_BTNSHADOW)),
      m_borderHighlight(m_borderLight),
      m_borderShadow(m_borderLight),
      m_borderDarkShadow(m_borderLight),
      m_normalTextColor(GetSysColor(COLOR_BTNTEXT)),
      m_otherMonthTextColor(kOtherMonthText),
      m_sundayFaceColor(kSundayFace),
      m_saturdayFaceColor(kSaturdayFace),
      m_baseFaceColor(kGrey),
      m_fontDescription(DefaultGuiFontDescription()) {
    SetFaceName(m_fontDescription, kCellFace);
    m_font.CreateFontIndirect(&m_fontDescription);
    m_controlBrush.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

const MessageMap* CCalButton::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&CCalButton::OnCreate>(),
        msgmap::OnCtlColorReflect<&CCalButton::CtlColor>(),
        msgmap::OnKey<&CCalButton::OnKeyDown>(WM_KEYDOWN),
    };
    static const MessageMap map{CButton::ThisMessageMap(), entries};
    return &map;
}

int CCalButton::OnCreate(LPCREATESTRUCT cs) {
    if (CButton::OnCreate(cs) == -1) return -1;
    SetDayColors(m_textColor, kGrey);
    return 0;
}

void CCalButton::OnKeyDown(UINT key, UINT, UINT) {
    CWnd* calendar = GetParent();
    if (calendar && IsNavigationKey(key)) calendar->SendMessage(WM_KEYDOWN, key, 1);
    else Default();
}

HBRUSH CCalButton::CtlColor(CDC* dc, UINT) {
    dc->SelectObject(&m_font);
    dc->SetBkMode(TRANSPARENT);
    return m_controlBrush;
}

void CCalButton::SetTime(CTime date, CTime reference) {
    m_date = date;
    m_reference = reference;
    if (!GetSafeHwnd()) return;
    if (m_kind == kDayCell) SetDayCaption();
    const bool grey = m_kind == kDayCell && !InShownMonth();
    SetColors(grey ? m_otherMonthTextColor : m_normalTextColor, m_baseFaceColor, m_disabledFaceColor);
    Invalidate(TRUE);
}

void CCalButton::SetFocusRequest(int request) {
    m_focusRequest = request;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CCalButton::SetDayCaption() { SetWindowText(DayCaption(m_date)); }

void CCalButton::SetDayColors(COLORREF text, COLORREF face) {
    m_baseFaceColor = face;
    if (m_kind != kDayCell) return;
    SetDayCaption();
    const COLORREF dayText = InShownMonth() ? text : m_otherMonthTextColor;
    if (!InShownMonth()) SetColors(m_otherMonthTextColor, m_baseFaceColor, m_disabledFaceColor);
    switch (m_date.GetDayOfWeek()) {
    case 1: SetColors(dayText, m_sundayFaceColor); break;
    case 7: SetColors(dayText, m_saturdayFaceColor); break;
    default: break;
    }
}

void CCalButton::SetColors(COLORREF text, COLORREF face, COLORREF disabledFace) {
    m_textColor = text;
    m_faceColor = face;
    m_disabledFaceColor = disabledFace;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CCalButton::SetFaceColor(COLORREF face) {
    switch (m_date.GetDayOfWeek()) {
    case 1: m_sundayFaceColor = face; break;
    case 7: m_saturdayFaceColor = face; break;
    default: break;
    }
    SetColors(m_textColor, face, m_disabledFaceColor);
}

void CCalButton::SetCellFont(COLORREF text, COLORREF face, int size, const char* faceName, int bold, int italic) {
    SetDayColors(text, face);
    SetSize(m_fontDescription, size);
    SetFaceName(m_fontDescription, faceName);
    SetItalic(m_fontDescription, italic);
    SetBold(m_fontDescription, bold);
    RecreateFont();
}

void CCalButton::SetFontSize(int size) {
    SetSize(m_fontDescription, size);
    RecreateFont();
}

void CCalButton::RecreateFont() {
    Recreate(m_font, m_fontDescription);
    RedrawWindow();  // nothing without a window
}

void CCalButton::DrawCaption(CDC& dc, const CString& caption, CRect area, COLORREF color) {
    const COLORREF old = dc.SetTextColor(color);
    dc.SetBkMode(TRANSPARENT);
    if (m_kind == kDayCell) {
        area.left += kDayCaptionMargin;
        area.top += kDayCaptionMargin;
        dc.DrawText(caption, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        const CSize size = dc.GetTextExtent(caption);
        dc.TextOut((area.left + area.right) / 2 - size.cx / 2, (area.top + area.bottom) / 2 - size.cy / 2, caption);
    }
    dc.SetTextColor(old);
}

void CCalButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC& dc = *item->hDC;
    const CRect r = item->rcItem;
    CRect shifted = r;
    shifted.OffsetRect(-1, -1);
    const CString caption = GetWindowTextString().Left(kCaptionLimit);
    const ButtonEdgeColors edges{m_borderHighlight, m_borderShadow, m_borderDarkShadow};
    const bool disabled = item->itemState & ODS_DISABLED;
    const bool selected = item->itemState & ODS_SELECTED;

    dc.FillSolidRect(r, disabled ? m_disabledFaceColor : m_faceColor);
    if (selected) DrawPressedEdge(dc, r, edges);
    else DrawRaisedEdge(dc, r, edges);
    if (disabled) {
        DrawCaption(dc, caption, r, kEmbossLight);
        DrawCaption(dc, caption, shifted, kEmbossDark);
    } else {
        DrawCaption(dc, caption, selected ? r : shifted, m_textColor);
    }

    const bool focused = (item->itemState & ODS_FOCUS) || m_focusRequest;
    if (!focused || !InShownMonth()) return;
    dc.FillSolidRect(r, kFocusFace);
    DrawPressedEdge(dc, r, edges);
    DrawCaption(dc, caption, r, kFocusText);
    CRect focus = r;
    focus.DeflateRect(kFocusInset, kFocusInset);
    dc.DrawFocusRect(&focus);
    if (m_focusRequest) {
        m_focusRequest = 0;
        SetFocus();
    }
}
