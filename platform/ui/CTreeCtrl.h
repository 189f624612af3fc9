#pragma once
// The tree control wrapper: each call is a TVM_* message to the window (TreeViewClass.h
// describes the behaviour). Calls on an object without a window return nothing and change
// nothing.
#include "platform/core/CString.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/TreeTypes.h"

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // --- items
    HTREEITEM InsertItem(LPTVINSERTSTRUCT insert);
    HTREEITEM InsertItem(UINT mask, const char* text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM data, HTREEITEM parent, HTREEITEM after);
    HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    UINT GetCount() const;

    // --- family and selection
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    BOOL SelectItem(HTREEITEM item);
    BOOL Select(HTREEITEM item, UINT relation);
    BOOL Expand(HTREEITEM item, UINT action);
    BOOL EnsureVisible(HTREEITEM item);

    // --- item fields
    BOOL GetItem(TVITEM* item) const;
    BOOL SetItem(TVITEM* item);
    BOOL SetItem(HTREEITEM item, UINT mask, const char* text, int image, int selectedImage, UINT state,
                 UINT stateMask, LPARAM data);
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const char* text);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT stateMask) const;

    // --- look and geometry
    CImageList* SetImageList(CImageList* images, int which);
    CImageList* GetImageList(int which) const;
    HTREEITEM HitTest(CPoint at, UINT* flags = nullptr) const;
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL labelOnly) const;
    UINT GetVisibleCount() const;
    UINT GetIndent() const;
    void SetIndent(UINT indent);
    int GetItemHeight() const;

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const {
        return m_hWnd ? const_cast<CTreeCtrl*>(this)->SendMessage(message, wParam, lParam) : 0;
    }
};
