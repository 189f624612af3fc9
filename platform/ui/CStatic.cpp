#include "platform/ui/CStatic.h"

#include "platform/gdi/StockObjects.h"
#include "platform/ui/CPaintDC.h"

namespace {

UINT TextFormat(DWORD style) {
    UINT format = DT_NOPREFIX;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    default: break;
    }
    if (style & SS_CENTERIMAGE) return format | DT_VCENTER | DT_SINGLELINE;
    return format | DT_WORDBREAK;
}

void PaintLabel(CWnd& wnd) {
    CPaintDC dc(&wnd);
    CWnd* parent = wnd.GetParent();
    auto brush = reinterpret_cast<HBRUSH>(
        parent ? parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(&dc), reinterpret_cast<LPARAM>(&wnd)) : 0);
    if (!IsWindow(&wnd)) return;
    CRect r;
    wnd.GetClientRect(&r);
    dc.FillRect(r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (!wnd.IsWindowEnabled()) dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    dc.DrawText(wnd.GetWindowTextString(), r, TextFormat(wnd.GetStyle()));
}

}  // namespace

LRESULT StaticClass::WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (wnd.GetStyle() & SS_SUNKEN) wnd.ModifyStyleEx(0, WS_EX_STATICEDGE);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the paint fills the label with its brush
    case WM_PAINT:
        PaintLabel(wnd);
        return 0;
    case WM_ENABLE:
        wnd.Invalidate();
        return 0;
    default:
        return WindowClass::WindowProc(wnd, message, wParam, lParam);
    }
}
