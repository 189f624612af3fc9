#include "platform/ui/CPaintDC.h"

#include "platform/gdi/StockObjects.h"
#include "platform/ui/CDesktop.h"

namespace {

CRect ClientArea(CWnd* wnd) {
    CRect client;
    if (wnd) wnd->GetClientRect(&client);
    return client;
}

CRect PaintArea(CWnd* wnd) {
    if (!wnd || !wnd->Paint().painting) return {};
    return wnd->Paint().paintClip;
}

}  // namespace

CClientDC::CClientDC(CWnd* wnd) : CClientDC(wnd, ClientArea(wnd)) {}

CClientDC::CClientDC(CWnd* wnd, const CRect& clip) : m_pWnd(wnd) {
    if (!wnd || !IsWindow(wnd->GetSafeHwnd())) return;
    CDesktop::Get().PrepareContext(*this, *wnd, clip);
    CFont* font = wnd->GetFont();
    if (font) SelectObject(font);
    else SelectStockObject(DEFAULT_GUI_FONT);
}

CPaintDC::CPaintDC(CWnd* wnd) : CClientDC(wnd, PaintArea(wnd)) {}
