#include "platform/ui/CWnd.h"

#include <algorithm>

#include "platform/ui/CDesktop.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/WindowClass.h"

namespace {

int EdgeWidth(DWORD style, DWORD exStyle) {
    return ((style & WS_BORDER) ? 1 : 0) + ((exStyle & WS_EX_CLIENTEDGE) ? 2 : 0) +
           ((exStyle & WS_EX_STATICEDGE) ? 1 : 0);
}

// The control a reflected request came from.
CWnd* SendingControl(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<CWnd*>(lParam);
    default:
        (void)wParam;
        return nullptr;
    }
}

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd) DestroyWindow();
}

CDesktop& CWnd::Desktop() const { return CDesktop::Get(); }

const MessageMap* CWnd::ThisMessageMap() {
    static const MessageMap map{nullptr, {}};
    return &map;
}

// --- creation and destruction

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, void* param) {
    if (m_hWnd) return FALSE;
    WindowClassFactory factory = nullptr;
    if (!FindWindowClass(className, &factory)) return FALSE;
    const bool child = (style & WS_CHILD) != 0;
    if (child && !(parent && parent->m_hWnd)) return FALSE;
    CWnd* container = child ? parent : &Desktop().Root();

    m_hWnd = this;
    m_parent = container;
    container->m_children.push_back(this);
    m_rect = rect;
    m_style = style;
    m_exStyle = exStyle;
    m_id = id;
    m_text = windowName ? windowName : "";
    m_font = nullptr;
    m_scroll = SCROLLINFO{};
    m_paint = PaintState{};
    m_class = factory ? factory() : nullptr;
    Desktop().AddLive(this);

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = style;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    cs.id = id;
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (m_hWnd) Invalidate();
    return m_hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, UINT id, void* param) {
    return CreateEx(exStyle, className, windowName, style, CRect(x, y, x + width, y + height), parent, id, param);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd || m_destroying) return FALSE;
    CWnd* parent = m_parent;
    const CRect area = m_rect;
    DestroyTree();
    FinishTree();
    if (parent && parent->m_hWnd && (m_style & WS_VISIBLE)) parent->InvalidateRect(&area, TRUE);
    PostNcDestroy();
    return TRUE;
}

// WM_DESTROY goes to a window before its children; a handler may destroy children itself.
void CWnd::DestroyTree() {
    m_destroying = true;
    SendMessage(WM_DESTROY);
    const std::vector<CWnd*> children = m_children;
    for (CWnd* child : children) {
        if (Desktop().IsLive(child) && child->m_parent == this && !child->m_destroying) child->DestroyTree();
    }
}

// WM_NCDESTROY goes to children before their parent; then the window is gone.
void CWnd::FinishTree() {
    const std::vector<CWnd*> children = m_children;
    for (CWnd* child : children) {
        if (Desktop().IsLive(child) && child->m_parent == this) {
            child->FinishTree();
            child->PostNcDestroy();
        }
    }
    SendMessage(WM_NCDESTROY);
    Unlink();
    Desktop().RemoveLive(this);
    for (const auto& dc : m_dcs) dc->DeleteDC();
    m_dcs.clear();
    m_hWnd = nullptr;
    m_destroying = false;
}

void CWnd::Unlink() {
    if (m_parent) {
        auto& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    m_parent = nullptr;
    m_children.clear();
}

// --- messages

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    m_current.push_back({message, wParam, lParam});
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_current.pop_back();
    return result;
}

LRESULT CWnd::Default() {
    if (m_current.empty()) return 0;
    const Current c = m_current.back();
    return DefWindowProc(c.message, c.wParam, c.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchToMap(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_class) return m_class->WindowProc(*this, message, wParam, lParam);
    return DefaultWindowProc(*this, message, wParam, lParam);
}

bool CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const bool notice = message == WM_NOTIFY || message == WM_COMMAND;
    const bool request = message == WM_DRAWITEM || (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC);
    // A control's own reflect entries take its notifications and commands first.
    if (notice && ReflectToChild(message, wParam, lParam, result)) return true;
    if (const MessageMapEntry* e = FindMessageEntry(GetMessageMap(), message, wParam, lParam)) {
        *result = e->call(*this, message, wParam, lParam);
        return true;
    }
    // Drawing and colour requests that the parent does not answer go back to the control.
    return request && ReflectToChild(message, wParam, lParam, result);
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* child = SendingControl(message, wParam, lParam);
    if (!child || child == this || !Desktop().IsLive(child)) return false;
    return child->OnChildNotify(message, wParam, lParam, result) != FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const UINT reflected = WM_REFLECT_BASE + message;
    const MessageMapEntry* e = FindMessageEntry(GetMessageMap(), reflected, wParam, lParam);
    if (!e) return FALSE;
    const LRESULT r = e->call(*this, reflected, wParam, lParam);
    // A colour handler that gives no brush leaves the request to the parent's default.
    if (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC && r == 0) return FALSE;
    *result = r;
    return TRUE;
}

// --- family

CWnd* CWnd::GetDlgItem(UINT id) const {
    for (CWnd* child : m_children) {
        if (child->m_id == id) return child;
    }
    return nullptr;
}

BOOL CWnd::IsChild(const CWnd* wnd) const {
    for (const CWnd* p = wnd ? wnd->m_parent : nullptr; p; p = p->m_parent) {
        if (p == this) return TRUE;
    }
    return FALSE;
}

// --- geometry

CPoint CWnd::ClientOffset() const {
    const int e = EdgeWidth(m_style, m_exStyle);
    return {e, e};
}

void CWnd::GetClientRect(RECT* rect) const {
    if (!rect) return;
    const int e = EdgeWidth(m_style, m_exStyle);
    const int bar = (m_style & WS_VSCROLL) ? kScrollBarWidth : 0;
    *rect = CRect(0, 0, std::max(0, m_rect.Width() - 2 * e - bar), std::max(0, m_rect.Height() - 2 * e));
}

void CWnd::GetWindowRect(RECT* rect) const {
    if (!rect) return;
    CPoint origin;
    if (m_parent) m_parent->ClientToScreen(&origin);
    CRect r = m_rect;
    r.OffsetRect(origin);
    *rect = r;
}

void CWnd::ClientToScreen(POINT* point) const {
    if (!point) return;
    CRect window;
    GetWindowRect(&window);
    const CPoint offset = ClientOffset();
    point->x += window.left + offset.x;
    point->y += window.top + offset.y;
}

void CWnd::ScreenToClient(POINT* point) const {
    if (!point) return;
    CPoint origin;
    ClientToScreen(&origin);
    point->x -= origin.x;
    point->y -= origin.y;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (!m_hWnd) return;
    const CRect old = m_rect;
    m_rect = CRect(x, y, x + std::max(0, width), y + std::max(0, height));
    if (repaint && m_parent) {
        m_parent->InvalidateRect(&old, TRUE);
        Invalidate();
    }
    CRect client;
    GetClientRect(&client);
    SendMessage(WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
}

CRect CWnd::ScrollBarRect() const {
    if (!(m_style & WS_VSCROLL)) return {};
    const int e = EdgeWidth(m_style, m_exStyle);
    const int right = m_rect.Width() - e;
    return {std::max(e, right - kScrollBarWidth), e, right, std::max(e, m_rect.Height() - e)};
}

// --- styles

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    if (!m_hWnd) return FALSE;
    const DWORD old = m_style;
    m_style = (m_style & ~remove) | add;
    if (old == m_style) return FALSE;
    if (((old ^ m_style) & WS_VISIBLE) && m_parent) m_parent->InvalidateRect(&m_rect, TRUE);
    m_paint.frame = true;
    Invalidate();
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
    if (!m_hWnd) return FALSE;
    const DWORD old = m_exStyle;
    m_exStyle = (m_exStyle & ~remove) | add;
    if (old == m_exStyle) return FALSE;
    m_paint.frame = true;
    Invalidate();
    return TRUE;
}

// --- text and font

void CWnd::SetWindowText(const char* text) {
    if (m_hWnd) SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    else m_text = text ? text : "";
}

int CWnd::GetWindowText(char* buffer, int size) const {
    if (!m_hWnd) return 0;
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, static_cast<WPARAM>(std::max(size, 0)),
                                                                 reinterpret_cast<LPARAM>(buffer)));
}

int CWnd::GetWindowTextLength() const {
    return m_hWnd ? static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH)) : 0;
}

void CWnd::GetWindowText(CString& text) const {
    const int length = GetWindowTextLength();
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int n = GetWindowText(buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::max(n, 0)));
    text = buffer.c_str();
}

CString CWnd::GetWindowTextString() const {
    CString text;
    GetWindowText(text);
    return text;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->GetHandle() : nullptr), redraw ? 1 : 0);
}

CFont* CWnd::GetFont() const {
    if (!m_hWnd) return nullptr;
    auto font = reinterpret_cast<HFONT>(const_cast<CWnd*>(this)->SendMessage(WM_GETFONT));
    return font ? CFont::FromHandle(font) : nullptr;
}

// --- states

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_hWnd) return FALSE;
    const BOOL wasDisabled = (m_style & WS_DISABLED) ? TRUE : FALSE;
    if (enable == !wasDisabled) return wasDisabled;
    m_style = enable ? (m_style & ~WS_DISABLED) : (m_style | WS_DISABLED);
    if (!enable && (Desktop().Focus() == this || IsChild(Desktop().Focus()))) Desktop().SetFocus(nullptr);
    SendMessage(WM_ENABLE, enable ? TRUE : FALSE);
    Invalidate();
    return wasDisabled;
}

BOOL CWnd::ShowWindow(int command) {
    if (!m_hWnd) return FALSE;
    const BOOL wasVisible = (m_style & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = command != SW_HIDE;
    if (show == static_cast<bool>(wasVisible)) return wasVisible;
    if (!show && (Desktop().Focus() == this || IsChild(Desktop().Focus()))) Desktop().SetFocus(nullptr);
    ModifyStyle(show ? 0 : WS_VISIBLE, show ? WS_VISIBLE : 0);
    SendMessage(WM_SHOWWINDOW, show ? TRUE : FALSE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    if (!m_hWnd) return FALSE;
    for (const CWnd* w = this; w; w = w->m_parent) {
        if (!(w->m_style & WS_VISIBLE)) return FALSE;
    }
    return TRUE;
}

// --- focus and capture

CWnd* CWnd::SetFocus() { return m_hWnd ? CDesktop::Get().SetFocus(this) : nullptr; }
CWnd* CWnd::GetFocus() { return CDesktop::Get().Focus(); }
CWnd* CWnd::SetCapture() { return m_hWnd ? CDesktop::Get().SetCapture(this) : nullptr; }
CWnd* CWnd::GetCapture() { return CDesktop::Get().Capture(); }
BOOL CWnd::ReleaseCapture() {
    CDesktop::Get().SetCapture(nullptr);
    return TRUE;
}

// --- painting

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) {
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    CRect area = client;
    if (rect && !area.IntersectRect(client, *rect)) return;
    if (m_paint.update.IsRectEmpty()) {
        m_paint.update = area;
    } else {
        m_paint.update = CRect(std::min(m_paint.update.left, area.left), std::min(m_paint.update.top, area.top),
                               std::max(m_paint.update.right, area.right),
                               std::max(m_paint.update.bottom, area.bottom));
    }
    if (erase) m_paint.erase = true;
}

void CWnd::ValidateRect(const RECT* rect) {
    if (!rect) {
        m_paint.update = CRect();
        m_paint.erase = false;
    }
}

void CWnd::UpdateWindow() {
    if (m_hWnd) Desktop().Update();
}

BOOL CWnd::RedrawWindow(const RECT* rect, void*, UINT) {
    if (!m_hWnd) return FALSE;
    InvalidateRect(rect, TRUE);
    UpdateWindow();
    return TRUE;
}

BOOL CWnd::GetUpdateRect(RECT* rect) const {
    if (rect) *rect = m_paint.update;
    return !m_paint.update.IsRectEmpty();
}

CDC* CWnd::GetDC() {
    if (!m_hWnd) return nullptr;
    auto dc = std::make_unique<CDC>();
    CRect client;
    GetClientRect(&client);
    Desktop().PrepareContext(*dc, *this, client);
    m_dcs.push_back(std::move(dc));
    return m_dcs.back().get();
}

int CWnd::ReleaseDC(CDC* dc) {
    const auto it = std::find_if(m_dcs.begin(), m_dcs.end(), [dc](const auto& p) { return p.get() == dc; });
    if (it == m_dcs.end()) return 0;
    (*it)->DeleteDC();
    m_dcs.erase(it);
    return 1;
}

// --- scroll bar

BOOL CWnd::SetScrollInfo(int, const SCROLLINFO* info, BOOL redraw) {
    if (!info) return FALSE;
    if (info->fMask & SIF_RANGE) {
        m_scroll.nMin = info->nMin;
        m_scroll.nMax = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE) m_scroll.nPage = info->nPage;
    if (info->fMask & SIF_POS) m_scroll.nPos = info->nPos;
    // The position stays where a full page still fits.
    const long long page = std::max<long long>(m_scroll.nPage, 1);
    const int maxPos = static_cast<int>(std::max<long long>(m_scroll.nMin, m_scroll.nMax - page + 1));
    m_scroll.nPos = std::clamp(m_scroll.nPos, m_scroll.nMin, maxPos);
    if (redraw) m_paint.frame = true;
    return m_scroll.nPos;
}

BOOL CWnd::GetScrollInfo(int, SCROLLINFO* info, UINT mask) const {
    if (!info) return FALSE;
    *info = m_scroll;
    info->fMask = mask;
    return TRUE;
}

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) {
    const int old = m_scroll.nPos;
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(bar, &info, redraw);
    return old;
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minPos;
    info.nMax = maxPos;
    SetScrollInfo(bar, &info, redraw);
}

void CWnd::GetScrollRange(int, int* minPos, int* maxPos) const {
    if (minPos) *minPos = m_scroll.nMin;
    if (maxPos) *maxPos = m_scroll.nMax;
}

// --- handles

BOOL IsWindow(HWND wnd) { return CDesktop::Get().IsLive(wnd) ? TRUE : FALSE; }

LRESULT SendMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindow(wnd) ? wnd->SendMessage(message, wParam, lParam) : 0;
}
