#include "platform/ui/CButton.h"

#include "platform/gdi/StockObjects.h"
#include "platform/ui/CPaintDC.h"

namespace {

bool Inside(CWnd& wnd, LPARAM lParam) {
    CRect client;
    wnd.GetClientRect(&client);
    return client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

void PaintPushButton(CDC& dc, CWnd& wnd, HBRUSH face, bool pressed, bool focused) {
    CRect r;
    wnd.GetClientRect(&r);
    dc.FillRect(r, face);
    if (pressed) {
        dc.Draw3dRect(r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
        dc.Draw3dRect(r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        CRect inner = r;
        inner.DeflateRect(1, 1);
        dc.Draw3dRect(inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    CRect text = r;
    if (pressed) text.OffsetRect(1, 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(wnd.IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    dc.DrawText(wnd.GetWindowTextString(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        CRect f = r;
        f.DeflateRect(4, 4);
        dc.DrawFocusRect(f);
    }
}

}  // namespace

void ButtonClass::SetPressed(CWnd& wnd, bool pressed) {
    if (m_pressed == pressed) return;
    m_pressed = pressed;
    wnd.Invalidate(FALSE);
}

void ButtonClass::Click(CWnd& wnd) {
    CWnd* parent = wnd.GetParent();
    if (parent) {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(wnd.GetDlgCtrlID()), BN_CLICKED),
                            reinterpret_cast<LPARAM>(&wnd));
    }
}

void ButtonClass::PaintButton(CWnd& wnd) {
    CPaintDC dc(&wnd);
    CWnd* parent = wnd.GetParent();
    auto face = reinterpret_cast<HBRUSH>(
        parent ? parent->SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(&dc), reinterpret_cast<LPARAM>(&wnd)) : 0);
    const bool focused = CWnd::GetFocus() == &wnd;
    if ((wnd.GetStyle() & BS_TYPEMASK) != BS_OWNERDRAW) {
        PaintPushButton(dc, wnd, face ? face : GetSysColorBrush(COLOR_BTNFACE), m_pressed, focused);
        return;
    }
    if (!parent || !IsWindow(&wnd)) return;
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = wnd.GetDlgCtrlID();
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (m_pressed ? ODS_SELECTED : 0) | (focused ? ODS_FOCUS : 0) | (wnd.IsWindowEnabled() ? 0 : ODS_DISABLED);
    item.hwndItem = &wnd;
    item.hDC = &dc;
    wnd.GetClientRect(&item.rcItem);
    parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

LRESULT ButtonClass::WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        wnd.SetFocus();
        wnd.SetCapture();
        m_tracking = true;
        SetPressed(wnd, true);
        return 0;
    case WM_MOUSEMOVE:
        if (m_tracking) SetPressed(wnd, Inside(wnd, lParam));
        return 0;
    case WM_LBUTTONUP: {
        if (!m_tracking) return 0;
        m_tracking = false;
        const bool clicked = m_pressed && Inside(wnd, lParam);
        SetPressed(wnd, false);
        CWnd::ReleaseCapture();
        if (clicked) Click(wnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        m_tracking = false;
        SetPressed(wnd, false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) Click(wnd);
        return 0;
    case BM_CLICK:
        Click(wnd);
        return 0;
    case BM_GETSTATE:
        return (m_pressed ? BST_PUSHED : 0) | (CWnd::GetFocus() == &wnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPressed(wnd, wParam != 0);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        wnd.Invalidate(FALSE);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the paint covers the whole button
    case WM_PAINT:
        PaintButton(wnd);
        return 0;
    default:
        return WindowClass::WindowProc(wnd, message, wParam, lParam);
    }
}
