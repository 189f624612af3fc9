#include "platform/ui/CEdit.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/StockObjects.h"
#include "platform/ui/CPaintDC.h"

namespace {

constexpr int kMargin = 2;
constexpr int kWheelRows = 3;

bool IsBreak(const std::string& s, size_t i) { return i + 1 < s.size() && s[i] == '\r' && s[i + 1] == '\n'; }

// Characters of `text` (from `start`, at most `length`) that fit `width` pixels, broken after a
// blank where one is; at least one character so that wrapping always moves on.
int FitRow(CDC& dc, const char* text, int length, int width) {
    if (length <= 0 || dc.GetTextExtent(text, length).cx <= width) return length;
    int fit = 1;
    while (fit < length && dc.GetTextExtent(text, fit + 1).cx <= width) ++fit;
    for (int i = fit; i > 0; --i) {
        if (text[i - 1] == ' ') return i;
    }
    return fit;
}

}  // namespace

bool EditClass::Multiline(const CWnd& wnd) const { return (wnd.GetStyle() & ES_MULTILINE) != 0; }
bool EditClass::ReadOnly(const CWnd& wnd) const { return (wnd.GetStyle() & ES_READONLY) != 0; }

int EditClass::RowHeight(CWnd& wnd) {
    CClientDC dc(&wnd);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    return std::max<int>(1, tm.tmHeight);
}

int EditClass::VisibleRows(CWnd& wnd) {
    CRect client;
    wnd.GetClientRect(&client);
    return std::max(1, client.Height() / RowHeight(wnd));
}

// Hard lines end at CR LF; a multi-line edit wraps each into rows of the client width.
void EditClass::Relayout(CWnd& wnd) {
    m_rows.clear();
    const std::string& s = m_text.str();
    if (!Multiline(wnd)) {
        m_rows.push_back({0, static_cast<int>(s.size())});
        return;
    }
    CClientDC dc(&wnd);
    CRect client;
    wnd.GetClientRect(&client);
    const int width = std::max(1, client.Width() - 2 * kMargin);
    size_t lineStart = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && !IsBreak(s, i)) continue;
        int at = static_cast<int>(lineStart);
        const int end = static_cast<int>(i);
        do {
            const int n = FitRow(dc, s.c_str() + at, end - at, width);
            m_rows.push_back({at, n});
            at += n;
        } while (at < end);
        lineStart = i + 2;
        ++i;
    }
    ScrollTo(wnd, m_top);
}

void EditClass::ScrollTo(CWnd& wnd, int top) {
    const int page = VisibleRows(wnd);
    const int rows = static_cast<int>(m_rows.size());
    m_top = std::clamp(top, 0, std::max(0, rows - page));
    if (wnd.GetStyle() & WS_VSCROLL) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(0, rows - 1);
        info.nPage = static_cast<UINT>(page);
        info.nPos = m_top;
        wnd.SetScrollInfo(SB_VERT, &info, TRUE);
    }
    wnd.Invalidate();
}

int EditClass::RowOfCaret() const {
    for (size_t r = m_rows.size(); r-- > 0;) {
        if (m_rows[r].start <= m_caret) return static_cast<int>(r);
    }
    return 0;
}

void EditClass::Replace(CWnd& wnd, int from, int to, const char* insert) {
    std::string s = m_text.str();
    s.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), insert);
    m_caret = from + static_cast<int>(std::strlen(insert));
    DefaultWindowProc(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
    m_text = s.c_str();
    Relayout(wnd);
    if (CWnd* parent = wnd.GetParent()) {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(wnd.GetDlgCtrlID()), EN_CHANGE),
                            reinterpret_cast<LPARAM>(&wnd));
    }
}

void EditClass::OnChar(CWnd& wnd, char c) {
    if (ReadOnly(wnd)) return;
    const int length = m_text.GetLength();
    if (c == '\b') {
        if (m_caret == 0) return;
        const int back = (m_caret >= 2 && IsBreak(m_text.str(), static_cast<size_t>(m_caret - 2))) ? 2 : 1;
        Replace(wnd, m_caret - back, m_caret, "");
    } else if (c == '\r' && Multiline(wnd)) {
        Replace(wnd, m_caret, m_caret, "\r\n");
    } else if (static_cast<unsigned char>(c) >= 0x20) {
        const char text[2] = {c, '\0'};
        Replace(wnd, m_caret, std::min(m_caret, length), text);
    }
}

void EditClass::OnKey(CWnd& wnd, UINT key) {
    const int length = m_text.GetLength();
    const std::string& s = m_text.str();
    switch (key) {
    case VK_LEFT:
        m_caret = std::max(0, m_caret - ((m_caret >= 2 && IsBreak(s, static_cast<size_t>(m_caret - 2))) ? 2 : 1));
        break;
    case VK_RIGHT:
        m_caret = std::min(length, m_caret + (IsBreak(s, static_cast<size_t>(m_caret)) ? 2 : 1));
        break;
    case VK_DELETE:
        if (!ReadOnly(wnd) && m_caret < length) Replace(wnd, m_caret, m_caret + (IsBreak(s, static_cast<size_t>(m_caret)) ? 2 : 1), "");
        return;
    case VK_HOME:
        if (!Multiline(wnd)) m_caret = 0;
        else ScrollTo(wnd, 0);
        break;
    case VK_END:
        if (!Multiline(wnd)) m_caret = length;
        else ScrollTo(wnd, static_cast<int>(m_rows.size()));
        break;
    case VK_UP: ScrollTo(wnd, m_top - 1); break;
    case VK_DOWN: ScrollTo(wnd, m_top + 1); break;
    case VK_PRIOR: ScrollTo(wnd, m_top - VisibleRows(wnd)); break;
    case VK_NEXT: ScrollTo(wnd, m_top + VisibleRows(wnd)); break;
    default: return;
    }
    wnd.Invalidate();
}

void EditClass::PlaceCaret(CWnd& wnd, CPoint at) {
    const int row = Multiline(wnd) ? std::clamp(m_top + at.y / RowHeight(wnd), 0, static_cast<int>(m_rows.size()) - 1)
                                   : 0;
    const Row& r = m_rows[static_cast<size_t>(row)];
    CClientDC dc(&wnd);
    const int x = at.x - kMargin + (Multiline(wnd) ? 0 : m_scrollX);
    int n = 0;
    while (n < r.length && dc.GetTextExtent(m_text.c_str() + r.start, n + 1).cx <= x) ++n;
    m_caret = r.start + n;
    wnd.Invalidate();
}

// A single-line field scrolls sideways just enough to show its caret.
void EditClass::KeepCaretInView(CDC& dc, int width) {
    const int x = dc.GetTextExtent(m_text.c_str(), m_caret).cx;
    if (x - m_scrollX > width) m_scrollX = x - width;
    if (x < m_scrollX) m_scrollX = x;
}

void EditClass::Paint(CWnd& wnd) {
    CPaintDC dc(&wnd);
    CWnd* parent = wnd.GetParent();
    const bool quiet = ReadOnly(wnd) || !wnd.IsWindowEnabled();
    const UINT request = quiet ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    if (!parent) {
        dc.SetBkColor(GetSysColor(COLOR_WINDOW));
    }
    auto brush = reinterpret_cast<HBRUSH>(
        parent ? parent->SendMessage(request, reinterpret_cast<WPARAM>(&dc), reinterpret_cast<LPARAM>(&wnd)) : 0);
    if (!IsWindow(&wnd)) return;
    CRect client;
    wnd.GetClientRect(&client);
    // An editable field shows the window colour unless its parent chose otherwise.
    dc.FillRect(client, brush ? brush : GetSysColorBrush(quiet ? COLOR_BTNFACE : COLOR_WINDOW));
    dc.SetBkMode(TRANSPARENT);
    if (!wnd.IsWindowEnabled()) dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
    const int height = RowHeight(wnd);
    const int rows = VisibleRows(wnd) + 1;
    if (!Multiline(wnd)) KeepCaretInView(dc, client.Width() - 2 * kMargin);
    for (int i = 0; i < rows && m_top + i < static_cast<int>(m_rows.size()); ++i) {
        const Row& r = m_rows[static_cast<size_t>(m_top + i)];
        dc.TextOut(kMargin - (Multiline(wnd) ? 0 : m_scrollX), i * height, m_text.c_str() + r.start, r.length);
    }
    if (CWnd::GetFocus() == &wnd && !ReadOnly(wnd)) {
        const int row = RowOfCaret();
        const Row& r = m_rows[static_cast<size_t>(row)];
        const int x = kMargin + dc.GetTextExtent(m_text.c_str() + r.start, m_caret - r.start).cx -
                      (Multiline(wnd) ? 0 : m_scrollX);
        dc.FillSolidRect(CRect(x, (row - m_top) * height, x + 1, (row - m_top + 1) * height), dc.GetTextColor());
    }
}

LRESULT EditClass::WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        m_text = wnd.GetWindowTextString();
        Relayout(wnd);
        return 0;
    case WM_SETTEXT: {
        const LRESULT r = DefaultWindowProc(wnd, message, wParam, lParam);
        m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        m_top = 0;
        m_caret = 0;
        m_scrollX = 0;
        Relayout(wnd);
        return r;
    }
    case WM_SETFONT:
    case WM_SIZE: {
        const LRESULT r = DefaultWindowProc(wnd, message, wParam, lParam);
        Relayout(wnd);
        return r;
    }
    case WM_VSCROLL:
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(wnd, m_top - 1); break;
        case SB_LINEDOWN: ScrollTo(wnd, m_top + 1); break;
        case SB_PAGEUP: ScrollTo(wnd, m_top - VisibleRows(wnd)); break;
        case SB_PAGEDOWN: ScrollTo(wnd, m_top + VisibleRows(wnd)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(wnd, HIWORD(wParam)); break;
        case SB_TOP: ScrollTo(wnd, 0); break;
        case SB_BOTTOM: ScrollTo(wnd, static_cast<int>(m_rows.size())); break;
        default: break;
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (!Multiline(wnd)) return DefaultWindowProc(wnd, message, wParam, lParam);
        ScrollTo(wnd, m_top - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelRows / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN:
        wnd.SetFocus();
        PlaceCaret(wnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_KEYDOWN:
        OnKey(wnd, static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(wnd, static_cast<char>(wParam));
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        wnd.Invalidate();
        return 0;
    case EM_SETREADONLY:
        wnd.ModifyStyle(wParam ? 0 : ES_READONLY, wParam ? ES_READONLY : 0);
        return TRUE;
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(m_rows.size());
    case EM_GETFIRSTVISIBLELINE:
        return m_top;
    case EM_LINESCROLL:
        ScrollTo(wnd, m_top + static_cast<int>(lParam));
        return TRUE;
    case EM_SETSEL:
        m_caret = std::clamp(static_cast<int>(lParam), 0, m_text.GetLength());
        wnd.Invalidate();
        return 0;
    case EM_GETSEL:
        return MAKELPARAM(m_caret, m_caret);
    case WM_ERASEBKGND:
        return TRUE;  // the paint fills the client area
    case WM_PAINT:
        Paint(wnd);
        return 0;
    default:
        return WindowClass::WindowProc(wnd, message, wParam, lParam);
    }
}
