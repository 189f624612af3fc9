#include "platform/ui/TreeViewClass.h"

#include <algorithm>
#include <cstring>

#include "platform/ui/CPaintDC.h"
#include "platform/ui/CWnd.h"

namespace {

constexpr int kWheelRows = 3;

void Describe(TVITEM& out, TreeModel::Item* item) {
    out.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    out.hItem = TreeModel::Handle(item);
    out.lParam = item ? item->data : 0;
    out.state = item && item->expanded ? TVIS_EXPANDED : 0;
}

bool Within(const TreeModel::Item* item, const TreeModel::Item* branch) {
    for (; item; item = item->parent) {
        if (item == branch) return true;
    }
    return false;
}

}  // namespace

TreeView::Look TreeViewClass::Look(const CWnd& wnd) const {
    TreeView::Look look;
    look.style = wnd.GetStyle();
    look.focused = CWnd::GetFocus() == &wnd;
    look.images = m_images && m_images->IsCreated() ? m_images : nullptr;
    look.selected = m_selected;
    return look;
}

int TreeViewClass::ClientHeight(const CWnd& wnd) const {
    CRect client;
    wnd.GetClientRect(&client);
    return client.Height();
}

void TreeViewClass::Remeasure(CWnd& wnd) {
    CClientDC dc(&wnd);
    m_view.Measure(dc, Look(wnd).images);
    Changed(wnd);
}

void TreeViewClass::Changed(CWnd& wnd) {
    m_view.ModelChanged();
    const bool needBar = m_model.RowCount() > m_view.PageRows(ClientHeight(wnd));
    if (needBar != ((wnd.GetStyle() & WS_VSCROLL) != 0)) wnd.ModifyStyle(needBar ? 0 : WS_VSCROLL, needBar ? WS_VSCROLL : 0);
    m_view.SetTop(m_view.Top(), ClientHeight(wnd));
    if (needBar) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = std::max(0, m_model.RowCount() - 1);
        info.nPage = static_cast<UINT>(m_view.PageRows(ClientHeight(wnd)));
        info.nPos = m_view.Top();
        wnd.SetScrollInfo(SB_VERT, &info, TRUE);
    }
    wnd.Invalidate();
}

void TreeViewClass::ScrollTo(CWnd& wnd, int top) {
    const int old = m_view.Top();
    m_view.SetTop(top, ClientHeight(wnd));
    if (m_view.Top() == old) return;
    wnd.SetScrollPos(SB_VERT, m_view.Top());
    wnd.Invalidate();
}

LRESULT TreeViewClass::Insert(CWnd& wnd, const TVINSERTSTRUCT* insert) {
    if (!insert) return 0;
    TreeModel::Item* parent = m_model.Find(insert->hParent);
    if (!parent) return 0;
    const TVITEM& in = insert->item;
    TreeModel::Item* item = m_model.Insert(parent, insert->hInsertAfter,
                                           (in.mask & TVIF_TEXT) && in.pszText ? in.pszText : "");
    if (in.mask & TVIF_IMAGE) item->image = in.iImage;
    if (in.mask & TVIF_SELECTEDIMAGE) item->selectedImage = in.iSelectedImage;
    if (in.mask & TVIF_PARAM) item->data = in.lParam;
    // An item may be inserted open: the children it gets later show at once.
    if ((in.mask & TVIF_STATE) && (in.stateMask & TVIS_EXPANDED) && (in.state & TVIS_EXPANDED)) item->expanded = true;
    Changed(wnd);
    return reinterpret_cast<LRESULT>(TreeModel::Handle(item));
}

BOOL TreeViewClass::Delete(CWnd& wnd, HTREEITEM handle) {
    TreeModel::Item* item = m_model.Find(handle);
    if (!item) return FALSE;
    if (Within(m_selected, item)) m_selected = nullptr;
    m_model.Delete(item);
    Changed(wnd);
    return TRUE;
}

BOOL TreeViewClass::Expand(CWnd& wnd, TreeModel::Item* item, UINT action) {
    if (!item || item == m_model.Root()) return FALSE;
    const UINT what = action & 0x3;
    const bool open = what == TVE_TOGGLE ? !item->expanded : what == TVE_EXPAND;
    if (what == 0) return FALSE;
    if (!open && Within(m_selected, item) && m_selected != item) {
        // A collapsing branch hides its selected descendant: the selection moves up to the
        // branch, as the user sees it.
        Select(wnd, item, TVC_UNKNOWN);
    }
    const bool changed = m_model.SetExpanded(item, open);
    if (!open && (action & TVE_COLLAPSERESET)) {
        while (item->firstChild) m_model.Delete(item->firstChild);
    }
    if (changed) {
        Changed(wnd);
        Notify(wnd, TVN_ITEMEXPANDED, open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, item);
    }
    return changed || (open == item->expanded) ? TRUE : FALSE;
}

HTREEITEM TreeViewClass::Next(UINT relation, HTREEITEM handle) {
    TreeModel::Item* item = m_model.Find(handle);
    TreeModel::Item* root = m_model.Root();
    TreeModel::Item* result = nullptr;
    switch (relation) {
    case TVGN_ROOT: result = root->firstChild; break;
    case TVGN_CARET: result = m_selected; break;
    case TVGN_FIRSTVISIBLE: result = m_view.TopItem(); break;
    case TVGN_LASTVISIBLE: result = m_model.LastShown(); break;
    case TVGN_CHILD: result = item ? item->firstChild : nullptr; break;
    default:
        if (!item || item == root) return nullptr;
        switch (relation) {
        case TVGN_NEXT: result = item->next; break;
        case TVGN_PREVIOUS: result = item->prev; break;
        case TVGN_PARENT: result = item->parent == root ? nullptr : item->parent; break;
        case TVGN_NEXTVISIBLE: result = m_model.IsShown(item) ? m_model.NextShown(item) : nullptr; break;
        case TVGN_PREVIOUSVISIBLE: result = m_model.IsShown(item) ? m_model.PrevShown(item) : nullptr; break;
        default: break;
        }
    }
    return TreeModel::Handle(result);
}

BOOL TreeViewClass::GetItem(TVITEM* out) {
    if (!out) return FALSE;
    TreeModel::Item* item = m_model.FindItem(out->hItem);
    if (!item) return FALSE;
    if ((out->mask & TVIF_TEXT) && out->pszText && out->cchTextMax > 0) {
        const size_t n = std::min(item->text.size(), static_cast<size_t>(out->cchTextMax - 1));
        std::memcpy(out->pszText, item->text.data(), n);
        out->pszText[n] = '\0';
    }
    if (out->mask & TVIF_IMAGE) out->iImage = item->image;
    if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
    if (out->mask & TVIF_PARAM) out->lParam = item->data;
    if (out->mask & TVIF_CHILDREN) out->cChildren = item->firstChild ? 1 : 0;
    if (out->mask & TVIF_STATE) {
        out->state = (item->expanded ? TVIS_EXPANDED : 0) | (item == m_selected ? TVIS_SELECTED : 0);
    }
    return TRUE;
}

BOOL TreeViewClass::SetItem(CWnd& wnd, const TVITEM* in) {
    if (!in) return FALSE;
    TreeModel::Item* item = m_model.FindItem(in->hItem);
    if (!item) return FALSE;
    if (in->mask & TVIF_TEXT) item->text = in->pszText ? in->pszText : "";
    if (in->mask & TVIF_IMAGE) item->image = in->iImage;
    if (in->mask & TVIF_SELECTEDIMAGE) item->selectedImage = in->iSelectedImage;
    if (in->mask & TVIF_PARAM) item->data = in->lParam;
    if ((in->mask & TVIF_STATE) && (in->stateMask & TVIS_EXPANDED)) {
        Expand(wnd, item, (in->state & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE);
    }
    wnd.Invalidate();
    return TRUE;
}

LRESULT TreeViewClass::Notify(CWnd& wnd, int code, UINT action, TreeModel::Item* oldItem, TreeModel::Item* newItem) {
    CWnd* parent = wnd.GetParent();
    if (!parent) return 0;
    NMTREEVIEW nm;
    nm.hdr.hwndFrom = &wnd;
    nm.hdr.idFrom = wnd.GetDlgCtrlID();
    nm.hdr.code = code;
    nm.action = action;
    Describe(nm.itemOld, oldItem);
    Describe(nm.itemNew, newItem);
    return parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

bool TreeViewClass::TellKey(CWnd& wnd, UINT key) {
    CWnd* parent = wnd.GetParent();
    if (!parent) return true;
    NMTVKEYDOWN nm;
    nm.hdr.hwndFrom = &wnd;
    nm.hdr.idFrom = wnd.GetDlgCtrlID();
    nm.hdr.code = TVN_KEYDOWN;
    nm.wVKey = static_cast<WORD>(key);
    parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    // The parent may have destroyed the tree in answer.
    return IsWindow(&wnd);
}

bool TreeViewClass::Select(CWnd& wnd, TreeModel::Item* item, UINT action) {
    if (item == m_selected) {
        if (item) EnsureVisible(wnd, item);
        return true;
    }
    const HTREEITEM wanted = TreeModel::Handle(item);
    if (Notify(wnd, TVN_SELCHANGING, action, m_selected, item)) return false;
    // The parent may have changed the tree while it was asked.
    if (!IsWindow(&wnd)) return false;
    item = wanted ? m_model.FindItem(wanted) : nullptr;
    if (wanted && !item) return false;
    TreeModel::Item* old = m_selected;
    m_selected = item;
    if (item) EnsureVisible(wnd, item);
    wnd.Invalidate();
    if (item) Notify(wnd, TVN_SELCHANGED, action, old, item);
    return true;
}

void TreeViewClass::EnsureVisible(CWnd& wnd, TreeModel::Item* item) {
    bool opened = false;
    for (TreeModel::Item* p = item->parent; p && p != m_model.Root(); p = p->parent) {
        opened = m_model.SetExpanded(p, true) || opened;
    }
    if (opened) Changed(wnd);
    const int row = m_model.RowOf(item);
    const int page = m_view.PageRows(ClientHeight(wnd));
    if (row < m_view.Top()) ScrollTo(wnd, row);
    else if (row >= m_view.Top() + page) ScrollTo(wnd, row - page + 1);
}

void TreeViewClass::OnClick(CWnd& wnd, CPoint at) {
    wnd.SetFocus();
    if (!IsWindow(&wnd)) return;
    TreeModel::Item* item = nullptr;
    CClientDC dc(&wnd);
    const UINT hit = m_view.HitTest(dc, at, Look(wnd), &item);
    if (hit == TVHT_ONITEMBUTTON) Expand(wnd, item, TVE_TOGGLE);
    else if (hit & TVHT_ONITEM) Select(wnd, item, TVC_BYMOUSE);
}

void TreeViewClass::OnKey(CWnd& wnd, UINT key) {
    TreeModel::Item* at = m_selected;
    TreeModel::Item* target = nullptr;
    const int page = m_view.PageRows(ClientHeight(wnd));
    switch (key) {
    case VK_UP: target = at ? m_model.PrevShown(at) : m_view.TopItem(); break;
    case VK_DOWN: target = at ? m_model.NextShown(at) : m_view.TopItem(); break;
    case VK_HOME: target = m_model.Root()->firstChild; break;
    case VK_END: target = m_model.LastShown(); break;
    case VK_PRIOR:
    case VK_NEXT: {
        target = at ? at : m_view.TopItem();
        for (int i = 1; i < page && target; ++i) {
            TreeModel::Item* step = key == VK_PRIOR ? m_model.PrevShown(target) : m_model.NextShown(target);
            if (!step) break;
            target = step;
        }
        break;
    }
    case VK_LEFT:
        if (at && at->expanded) Expand(wnd, at, TVE_COLLAPSE);
        else if (at && at->parent != m_model.Root()) target = at->parent;
        break;
    case VK_RIGHT:
        if (at && at->firstChild && !at->expanded) Expand(wnd, at, TVE_EXPAND);
        else if (at && at->firstChild) target = at->firstChild;
        break;
    case VK_ADD:
        if (at) Expand(wnd, at, TVE_EXPAND);
        break;
    case VK_SUBTRACT:
        if (at) Expand(wnd, at, TVE_COLLAPSE);
        break;
    default: break;
    }
    if (target) Select(wnd, target, TVC_BYKEYBOARD);
}

void TreeViewClass::OnVScroll(CWnd& wnd, UINT code, int pos) {
    const int page = m_view.PageRows(ClientHeight(wnd));
    switch (code) {
    case SB_LINEUP: ScrollTo(wnd, m_view.Top() - 1); break;
    case SB_LINEDOWN: ScrollTo(wnd, m_view.Top() + 1); break;
    case SB_PAGEUP: ScrollTo(wnd, m_view.Top() - page); break;
    case SB_PAGEDOWN: ScrollTo(wnd, m_view.Top() + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(wnd, pos); break;
    case SB_TOP: ScrollTo(wnd, 0); break;
    case SB_BOTTOM: ScrollTo(wnd, m_model.RowCount()); break;
    default: break;
    }
}

LRESULT TreeViewClass::WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Remeasure(wnd);
        return 0;
    case WM_NCDESTROY:
        m_model.Delete(m_model.Root());
        m_selected = nullptr;
        m_view.ModelChanged();
        return 0;
    case WM_SETFONT: {
        const LRESULT r = WindowClass::WindowProc(wnd, message, wParam, lParam);
        Remeasure(wnd);
        return r;
    }
    case WM_SIZE:
        Changed(wnd);
        return 0;
    case TVM_INSERTITEM:
        return Insert(wnd, reinterpret_cast<const TVINSERTSTRUCT*>(lParam));
    case TVM_DELETEITEM:
        return Delete(wnd, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND:
        return Expand(wnd, m_model.FindItem(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam));
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(Next(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM: {
        if (wParam != TVGN_CARET) return FALSE;
        const auto handle = reinterpret_cast<HTREEITEM>(lParam);
        TreeModel::Item* item = handle ? m_model.FindItem(handle) : nullptr;
        if (handle && !item) return FALSE;
        return Select(wnd, item, TVC_UNKNOWN) ? TRUE : FALSE;
    }
    case TVM_GETITEM:
        return GetItem(reinterpret_cast<TVITEM*>(lParam));
    case TVM_SETITEM:
        return SetItem(wnd, reinterpret_cast<const TVITEM*>(lParam));
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(m_model.Count());
    case TVM_GETVISIBLECOUNT:
        return m_view.PageRows(ClientHeight(wnd));
    case TVM_GETITEMHEIGHT:
        return m_view.RowHeight();
    case TVM_GETINDENT:
        return m_view.Indent();
    case TVM_SETINDENT:
        m_view.SetIndent(static_cast<int>(wParam));
        wnd.Invalidate();
        return 0;
    case TVM_SETIMAGELIST: {
        if (wParam != TVSIL_NORMAL) return 0;
        CImageList* old = m_images;
        m_images = reinterpret_cast<CImageList*>(lParam);
        Remeasure(wnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETIMAGELIST:
        return wParam == TVSIL_NORMAL ? reinterpret_cast<LRESULT>(m_images) : 0;
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info) return 0;
        TreeModel::Item* item = nullptr;
        CClientDC dc(&wnd);
        info->flags = m_view.HitTest(dc, info->pt, Look(wnd), &item);
        info->hItem = TreeModel::Handle(item);
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        HTREEITEM handle = nullptr;
        if (rect) std::memcpy(&handle, static_cast<const void*>(rect), sizeof handle);
        TreeModel::Item* item = m_model.FindItem(handle);
        if (!item || !m_model.IsShown(item)) return FALSE;
        CClientDC dc(&wnd);
        CRect client;
        wnd.GetClientRect(&client);
        *rect = m_view.ItemRect(dc, item, wParam != 0, Look(wnd), client.Width());
        return TRUE;
    }
    case TVM_ENSUREVISIBLE: {
        TreeModel::Item* item = m_model.FindItem(reinterpret_cast<HTREEITEM>(lParam));
        if (!item) return FALSE;
        EnsureVisible(wnd, item);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        OnClick(wnd, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 0;
    case WM_KEYDOWN:
        if (!TellKey(wnd, static_cast<UINT>(wParam))) return 0;
        OnKey(wnd, static_cast<UINT>(wParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(wnd, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        // Whole rows per notch; what is left of a smaller turn waits for the next one.
        m_wheelRest += GET_WHEEL_DELTA_WPARAM(wParam) * kWheelRows;
        const int rows = m_wheelRest / WHEEL_DELTA;
        m_wheelRest -= rows * WHEEL_DELTA;
        ScrollTo(wnd, m_view.Top() - rows);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        wnd.Invalidate(FALSE);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // the paint fills the client area
    case WM_PAINT: {
        CPaintDC dc(&wnd);
        CRect client;
        wnd.GetClientRect(&client);
        m_view.Paint(dc, client, Look(wnd));
        return 0;
    }
    default:
        return WindowClass::WindowProc(wnd, message, wParam, lParam);
    }
}
