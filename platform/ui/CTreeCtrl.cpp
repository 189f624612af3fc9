#include "platform/ui/CTreeCtrl.h"

#include <cstring>
#include <string>

#include "platform/ui/WindowClass.h"

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, WC_TREEVIEW, nullptr, style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, const char* text, int image, int selectedImage, UINT state,
                                UINT stateMask, LPARAM data, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCT insert;
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = data;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
    // A null handle would empty the tree; only TVI_ROOT asks for that.
    if (!item) return FALSE;
    return static_cast<BOOL>(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT))); }

UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(Send(TVM_GETCOUNT, 0, 0)); }

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }

BOOL CTreeCtrl::Select(HTREEITEM item, UINT relation) {
    return static_cast<BOOL>(Send(TVM_SELECTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT action) {
    return static_cast<BOOL>(Send(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
    return static_cast<BOOL>(Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::GetItem(TVITEM* item) const { return static_cast<BOOL>(Send(TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item))); }

BOOL CTreeCtrl::SetItem(TVITEM* item) { return static_cast<BOOL>(Send(TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item))); }

BOOL CTreeCtrl::SetItem(HTREEITEM item, UINT mask, const char* text, int image, int selectedImage, UINT state,
                        UINT stateMask, LPARAM data) {
    TVITEM tv;
    tv.hItem = item;
    tv.mask = mask;
    tv.pszText = const_cast<char*>(text);
    tv.iImage = image;
    tv.iSelectedImage = selectedImage;
    tv.state = state;
    tv.stateMask = stateMask;
    tv.lParam = data;
    return SetItem(&tv);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    // Grows the buffer until the whole text fits.
    for (int size = 256;; size *= 4) {
        std::string buffer(static_cast<size_t>(size), '\0');
        TVITEM tv;
        tv.hItem = item;
        tv.mask = TVIF_TEXT;
        tv.pszText = buffer.data();
        tv.cchTextMax = size;
        if (!GetItem(&tv)) return CString();
        const size_t n = std::char_traits<char>::length(buffer.c_str());
        if (n + 1 < static_cast<size_t>(size)) return CString(buffer.c_str());
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const char* text) { return SetItem(item, TVIF_TEXT, text, 0, 0, 0, 0, 0); }

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEM tv;
    tv.hItem = item;
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    if (!GetItem(&tv)) return FALSE;
    image = tv.iImage;
    selectedImage = tv.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    return SetItem(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE, nullptr, image, selectedImage, 0, 0, 0);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEM tv;
    tv.hItem = item;
    tv.mask = TVIF_PARAM;
    return GetItem(&tv) ? static_cast<DWORD_PTR>(tv.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    return SetItem(item, TVIF_PARAM, nullptr, 0, 0, 0, 0, static_cast<LPARAM>(data));
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
    TVITEM tv;
    tv.hItem = item;
    tv.mask = TVIF_STATE;
    tv.stateMask = stateMask;
    return GetItem(&tv) ? (tv.state & stateMask) : 0;
}

CImageList* CTreeCtrl::SetImageList(CImageList* images, int which) {
    return reinterpret_cast<CImageList*>(Send(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images)));
}

CImageList* CTreeCtrl::GetImageList(int which) const {
    return reinterpret_cast<CImageList*>(Send(TVM_GETIMAGELIST, static_cast<WPARAM>(which), 0));
}

HTREEITEM CTreeCtrl::HitTest(CPoint at, UINT* flags) const {
    TVHITTESTINFO info;
    info.pt = at;
    Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    if (flags) *flags = info.flags;
    return info.hItem;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, RECT* rect, BOOL labelOnly) const {
    if (!rect) return FALSE;
    // The platform passes the item in the rectangle's first bytes.
    static_assert(sizeof(RECT) >= sizeof(HTREEITEM));
    std::memcpy(static_cast<void*>(rect), &item, sizeof item);
    return static_cast<BOOL>(Send(TVM_GETITEMRECT, labelOnly ? 1 : 0, reinterpret_cast<LPARAM>(rect)));
}

UINT CTreeCtrl::GetVisibleCount() const { return static_cast<UINT>(Send(TVM_GETVISIBLECOUNT, 0, 0)); }
UINT CTreeCtrl::GetIndent() const { return static_cast<UINT>(Send(TVM_GETINDENT, 0, 0)); }
void CTreeCtrl::SetIndent(UINT indent) { Send(TVM_SETINDENT, indent, 0); }
int CTreeCtrl::GetItemHeight() const { return static_cast<int>(Send(TVM_GETITEMHEIGHT, 0, 0)); }
