#include "platform/ui/CDesktop.h"

#include <algorithm>

#include "platform/gdi/StockObjects.h"
#include "platform/ui/ScrollBar.h"

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

CRect Union(const CRect& a, const CRect& b) {
    if (a.IsRectEmpty()) return b;
    if (b.IsRectEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

CRect Intersect(const CRect& a, const CRect& b) {
    CRect r;
    r.IntersectRect(a, b);
    return r;
}

// The border and edges, drawn with the context's origin at the window's top-left corner.
void PaintFrame(CDC& dc, const CWnd& wnd, const CRect& box) {
    CRect r(0, 0, box.Width(), box.Height());
    if (wnd.GetStyle() & WS_BORDER) {
        dc.Draw3dRect(r, GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME));
        r.DeflateRect(1, 1);
    }
    if (wnd.GetExStyle() & WS_EX_CLIENTEDGE) {
        dc.Draw3dRect(r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        r.DeflateRect(1, 1);
        dc.Draw3dRect(r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
        r.DeflateRect(1, 1);
    }
    if (wnd.GetExStyle() & WS_EX_STATICEDGE) {
        dc.Draw3dRect(r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    const CRect bar = wnd.ScrollBarRect();
    if (!bar.IsRectEmpty()) {
        SCROLLINFO info;
        wnd.GetScrollInfo(SB_VERT, &info);
        PaintScrollBar(dc, bar, info);
    }
}

}  // namespace

CDesktop& CDesktop::Get() {
    static CDesktop desktop;
    return desktop;
}

CRect CDesktop::ClientRectOnDesktop(const CWnd& wnd) {
    CRect client;
    wnd.GetClientRect(&client);
    CPoint origin;
    wnd.ClientToScreen(&origin);
    client.OffsetRect(origin);
    return client;
}

CDesktop::CDesktop() {
    m_root.m_hWnd = &m_root;
    m_root.m_style = WS_VISIBLE;
    m_live.insert(&m_root);
    Resize(kDefaultWidth, kDefaultHeight);
}

// At the process's end the root goes without messages: windows still open then belong to
// objects whose own destruction may already have passed.
CDesktop::~CDesktop() {
    m_root.m_hWnd = nullptr;
    m_root.m_children.clear();
}

void CDesktop::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const CRect old = m_root.m_rect;
    m_surface.Reset(width, height, PixelFromColor(GetSysColor(COLOR_BACKGROUND)));
    ++m_paintPasses;
    m_root.m_rect = CRect(0, 0, width, height);
    m_root.Invalidate();
    // A window that filled the desktop is the one a real display's window shows: it keeps
    // filling it, and lays itself out for the new size when WM_SIZE tells it.
    const std::vector<CWnd*> windows = m_root.m_children;
    for (CWnd* wnd : windows)
        if (IsLive(wnd) && !old.IsRectEmpty() && wnd->m_rect == old) wnd->MoveWindow(m_root.m_rect);
}

void CDesktop::RemoveLive(CWnd* wnd) {
    m_live.erase(wnd);
    if (m_focus == wnd) m_focus = nullptr;
    if (m_capture == wnd) m_capture = nullptr;
    if (m_thumbDrag == wnd) m_thumbDrag = nullptr;
}

// --- painting

bool CDesktop::AnyInvalid(const CWnd& wnd) const {
    if (!wnd.m_paint.update.IsRectEmpty() || wnd.m_paint.frame) return true;
    return std::any_of(wnd.m_children.begin(), wnd.m_children.end(), [this](const CWnd* c) { return AnyInvalid(*c); });
}

bool CDesktop::NeedsUpdate() const { return AnyInvalid(m_root); }

bool CDesktop::Update() {
    if (!NeedsUpdate()) return false;
    PaintTree(m_root, m_surface.Bounds(), CRect());
    ++m_paintPasses;
    return true;
}

// `visible` is the part of the desktop the window may draw on (its parents' client areas);
// `inherited` what the parent repainted there, which this window must paint over again.
void CDesktop::PaintTree(CWnd& wnd, const CRect& visible, const CRect& inherited) {
    if (!(wnd.m_style & WS_VISIBLE)) return;
    CRect box;
    wnd.GetWindowRect(&box);
    const CRect shown = Intersect(box, visible);
    CRect dirty;
    if (!shown.IsRectEmpty()) {
        CRect own = wnd.m_paint.update;
        CPoint origin;
        wnd.ClientToScreen(&origin);
        own.OffsetRect(origin);
        if (wnd.m_paint.frame) own = Union(own, box);
        dirty = Intersect(Union(own, Intersect(inherited, shown)), shown);
    }
    if (!dirty.IsRectEmpty()) {
        PaintWindow(wnd, box, dirty, !Intersect(inherited, shown).IsRectEmpty());
    } else {
        // Nothing of it can be seen: what was asked waits for nothing.
        wnd.m_paint.update = CRect();
        wnd.m_paint.erase = wnd.m_paint.frame = false;
    }
    if (!IsLive(&wnd)) return;
    const CRect inner = Intersect(ClientRectOnDesktop(wnd), shown);
    const std::vector<CWnd*> children = wnd.m_children;
    for (CWnd* child : children) {
        if (IsLive(child)) PaintTree(*child, inner, Intersect(dirty, inner));
    }
}

void CDesktop::PaintWindow(CWnd& wnd, const CRect& box, const CRect& dirty, bool eraseAll) {
    {
        CDC frame;
        frame.AttachSurface(&m_surface);
        frame.SetViewportOrg(box.left, box.top);
        frame.SelectClipRect(&dirty);
        PaintFrame(frame, wnd, box);
    }
    CPoint origin;
    wnd.ClientToScreen(&origin);
    CRect area = Intersect(ClientRectOnDesktop(wnd), dirty);
    const bool erase = wnd.m_paint.erase || eraseAll;
    wnd.m_paint.update = CRect();
    wnd.m_paint.erase = wnd.m_paint.frame = false;
    if (area.IsRectEmpty()) return;
    area.OffsetRect(-origin.x, -origin.y);
    if (erase) {
        CDC dc;
        PrepareContext(dc, wnd, area);
        wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc));
        if (!IsLive(&wnd)) return;
    }
    wnd.m_paint.paintClip = area;
    wnd.m_paint.painting = true;
    wnd.SendMessage(WM_PAINT);
    wnd.m_paint.painting = false;
    wnd.m_paint.paintClip = CRect();
}

void CDesktop::PrepareContext(CDC& dc, const CWnd& wnd, const CRect& clip) {
    dc.AttachSurface(&m_surface);
    CPoint origin;
    wnd.ClientToScreen(&origin);
    dc.SetViewportOrg(origin.x, origin.y);
    CRect allowed = clip;
    allowed.OffsetRect(origin);
    for (const CWnd* w = &wnd; w && !allowed.IsRectEmpty(); w = w->m_parent) {
        allowed = w->IsWindowVisible() ? Intersect(allowed, ClientRectOnDesktop(*w)) : CRect();
    }
    dc.SelectClipRect(&allowed);
}

// --- input

CWnd* CDesktop::WindowAt(CPoint at) {
    CWnd* found = &m_root;
    for (bool deeper = true; deeper;) {
        deeper = false;
        const CRect inner = ClientRectOnDesktop(*found);
        if (found != &m_root && !inner.PtInRect(at)) break;  // on the frame: the window itself
        for (auto it = found->m_children.rbegin(); it != found->m_children.rend(); ++it) {
            CRect box;
            (*it)->GetWindowRect(&box);
            if (((*it)->m_style & WS_VISIBLE) && box.PtInRect(at)) {
                found = *it;
                deeper = true;
                break;
            }
        }
    }
    return found;
}

void CDesktop::SendMouse(CWnd& wnd, UINT message, CPoint at, WPARAM flags) {
    CPoint local = at;
    wnd.ScreenToClient(&local);
    wnd.SendMessage(message, flags, MAKELPARAM(local.x, local.y));
}

bool CDesktop::ScrollBarPress(CWnd& wnd, CPoint at) {
    CRect bar = wnd.ScrollBarRect();
    if (bar.IsRectEmpty()) return false;
    CRect box;
    wnd.GetWindowRect(&box);
    bar.OffsetRect(box.TopLeft());
    if (!bar.PtInRect(at)) return false;
    const UINT code = ScrollBarHit(bar, wnd.m_scroll, at);
    if (code == SB_THUMBTRACK) {
        m_thumbDrag = &wnd;
        m_thumbGrab = at.y - LayOutScrollBar(bar, wnd.m_scroll).thumb.top;
        wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(wnd.m_scroll.nPos)));
    } else if (code != SB_ENDSCROLL) {
        wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(code), 0));
        if (IsLive(&wnd)) wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0));
    }
    return true;
}

void CDesktop::MouseDown(CPoint at) {
    CWnd* target = m_capture ? m_capture : WindowAt(at);
    if (!target || target == &m_root || !target->IsWindowEnabled()) return;
    if (!m_capture && ScrollBarPress(*target, at)) return;
    SendMouse(*target, WM_LBUTTONDOWN, at, MK_LBUTTON);
}

void CDesktop::MouseMove(CPoint at) {
    if (m_thumbDrag) {
        CRect bar = m_thumbDrag->ScrollBarRect();
        CRect box;
        m_thumbDrag->GetWindowRect(&box);
        bar.OffsetRect(box.TopLeft());
        const int pos = ScrollPosForThumb(bar, m_thumbDrag->m_scroll, at.y - m_thumbGrab);
        m_thumbDrag->m_scroll.nTrackPos = pos;
        m_thumbDrag->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)));
        return;
    }
    CWnd* target = m_capture ? m_capture : WindowAt(at);
    if (target && target != &m_root && target->IsWindowEnabled()) SendMouse(*target, WM_MOUSEMOVE, at, 0);
}

void CDesktop::MouseUp(CPoint at) {
    if (CWnd* drag = m_thumbDrag) {
        m_thumbDrag = nullptr;
        drag->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(drag->m_scroll.nTrackPos)));
        if (IsLive(drag)) drag->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0));
        return;
    }
    CWnd* target = m_capture ? m_capture : WindowAt(at);
    if (target && target != &m_root && target->IsWindowEnabled()) SendMouse(*target, WM_LBUTTONUP, at, 0);
}

void CDesktop::MouseWheel(CPoint at, int delta) {
    CWnd* target = WindowAt(at);
    if (!target || target == &m_root || !target->IsWindowEnabled()) return;
    target->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                        MAKELPARAM(at.x, at.y));
}

void CDesktop::KeyDown(UINT key) {
    if (key == VK_TAB && m_focus) {
        FocusNextTabStop();
        return;
    }
    if (m_focus) m_focus->SendMessage(WM_KEYDOWN, key, 1);
}

// The controls of the focus's top-level window with WS_TABSTOP, visible and enabled, take the
// focus in turn, in their creation order.
void CDesktop::FocusNextTabStop() {
    CWnd* top = m_focus;
    while (top->m_parent && top->m_parent != &m_root) top = top->m_parent;
    std::vector<CWnd*> stops;
    std::vector<CWnd*> pending{top};
    while (!pending.empty()) {
        CWnd* w = pending.back();
        pending.pop_back();
        if ((w->m_style & WS_TABSTOP) && w->IsWindowVisible() && w->IsWindowEnabled()) stops.push_back(w);
        for (auto it = w->m_children.rbegin(); it != w->m_children.rend(); ++it) pending.push_back(*it);
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), m_focus);
    SetFocus(at == stops.end() || at + 1 == stops.end() ? stops.front() : *(at + 1));
}

void CDesktop::Char(char c) {
    if (m_focus) m_focus->SendMessage(WM_CHAR, static_cast<unsigned char>(c), 1);
}

// --- focus and capture

CWnd* CDesktop::SetFocus(CWnd* wnd) {
    CWnd* old = m_focus;
    if (old == wnd) return old;
    m_focus = wnd;
    if (IsLive(old)) old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd));
    if (wnd && IsLive(wnd) && m_focus == wnd) wnd->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
    return old;
}

CWnd* CDesktop::SetCapture(CWnd* wnd) {
    CWnd* old = m_capture;
    m_capture = wnd;
    if (old && old != wnd && IsLive(old)) old->SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
    return old;
}

void CDesktop::RunModal(CWnd& window, const bool& ended) {
    if (m_modalDriver && !ended) m_modalDriver(window, ended);
}
