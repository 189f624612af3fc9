#pragma once
// The tree view's vocabulary: item handles, messages, notifications and their records.
#include <cstdint>

#include "platform/gdi/CImageList.h"
#include "platform/ui/WindowTypes.h"

// An item handle. Handles are numbers that the tree never gives out twice, so a handle kept
// after its item was deleted is recognised as stale instead of naming another item.
struct _TREEITEM;
using HTREEITEM = _TREEITEM*;
using HIMAGELIST = CImageList*;

inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

// Messages.
constexpr UINT TVM_INSERTITEM = 0x1100;
constexpr UINT TVM_DELETEITEM = 0x1101;
constexpr UINT TVM_EXPAND = 0x1102;
constexpr UINT TVM_GETITEMRECT = 0x1104;
constexpr UINT TVM_GETCOUNT = 0x1105;
constexpr UINT TVM_GETINDENT = 0x1106;
constexpr UINT TVM_SETINDENT = 0x1107;
constexpr UINT TVM_GETIMAGELIST = 0x1108;
constexpr UINT TVM_SETIMAGELIST = 0x1109;
constexpr UINT TVM_GETNEXTITEM = 0x110A;
constexpr UINT TVM_SELECTITEM = 0x110B;
constexpr UINT TVM_GETITEM = 0x110C;
constexpr UINT TVM_SETITEM = 0x110D;
constexpr UINT TVM_GETVISIBLECOUNT = 0x1110;
constexpr UINT TVM_HITTEST = 0x1111;
constexpr UINT TVM_ENSUREVISIBLE = 0x1114;
constexpr UINT TVM_GETITEMHEIGHT = 0x111C;

// Image lists.
constexpr int TVSIL_NORMAL = 0;

// TVM_EXPAND actions.
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

// TVM_GETNEXTITEM and TVM_SELECTITEM relations.
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

// Item fields (TVITEM::mask) and states.
constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_EXPANDED = 0x0020;

// Notifications (WM_NOTIFY codes) and what caused a selection change.
constexpr int TVN_FIRST = -400;
constexpr int TVN_SELCHANGING = TVN_FIRST - 1;
constexpr int TVN_SELCHANGED = TVN_FIRST - 2;
constexpr int TVN_ITEMEXPANDING = TVN_FIRST - 5;
constexpr int TVN_ITEMEXPANDED = TVN_FIRST - 6;
constexpr int TVN_KEYDOWN = TVN_FIRST - 12;
constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

// Hit-test results.
constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL;
constexpr UINT TVHT_BELOW = 0x0200;

struct TVITEM {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    char* pszText = nullptr;  // in: the text to set; out: a buffer of cchTextMax characters
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};
using TVITEMA = TVITEM;
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCT {
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    TVITEM item;
};
using LPTVINSERTSTRUCT = TVINSERTSTRUCT*;

struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag;
};
using NM_TREEVIEW = NMTREEVIEW;
using LPNMTREEVIEW = NMTREEVIEW*;

// TVN_KEYDOWN: a key pressed while the tree has the focus, told to its parent before the tree
// acts on it.
struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct TVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};
