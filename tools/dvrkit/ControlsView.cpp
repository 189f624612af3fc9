#include "tools/dvrkit/ControlsView.h"

#include <string>
#include <vector>

#include "module/HostContract.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/StockObjects.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTreeStyle = kChild | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS;
constexpr DWORD kPaneStyle = kChild | WS_VSCROLL | ES_READONLY | ES_MULTILINE;
constexpr COLORREF kButtonFace = RGB(0, 96, 160);

}  // namespace

void ControlsView::FaceButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC& dc = *item->hDC;
    CRect r = item->rcItem;
    const bool pressed = item->itemState & ODS_SELECTED;
    dc.FillSolidRect(r, kButtonFace);
    dc.Draw3dRect(r, pressed ? RGB(0, 0, 0) : RGB(255, 255, 255), pressed ? RGB(255, 255, 255) : RGB(0, 0, 0));
    CRect text = r;
    if (pressed) text.OffsetRect(1, 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.DrawText(GetWindowTextString(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item->itemState & ODS_FOCUS) {
        r.DeflateRect(4, 4);
        dc.DrawFocusRect(r);
    }
}

const MessageMap* ControlsView::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&ControlsView::OnCreate>(),
        msgmap::OnDestroy<&ControlsView::OnDestroy>(),
        msgmap::OnNotify<&ControlsView::OnTreeSelect>(TVN_SELCHANGED, kTreeId),
        msgmap::OnCommandRange<&ControlsView::OnButton>(BN_CLICKED, kExpandId, kCollapseId),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

BOOL ControlsView::CreateView(int width, int height) {
    return CreateEx(0, nullptr, "dvrkit controls", WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0);
}

int ControlsView::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    const int w = cs->cx;
    const int h = cs->cy;
    LOGFONT description{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    m_font.CreateFontIndirect(&description);
    CBitmap icons;
    if (icons.LoadBitmap(host::kIconStripBitmap) && m_images.Create(host::kIconSize, host::kIconSize, ILC_COLORDDB | ILC_MASK, 8, 0)) {
        m_images.Add(&icons, host::kIconMask);
    }

    m_title.Create("dvrkit controls", kChild | SS_CENTER | SS_CENTERIMAGE | WS_BORDER, CRect(10, 10, w - 10, 40), this, 10);
    m_tree.Create(kTreeStyle, CRect(10, 50, w * 2 / 5, h - 60), this, kTreeId);
    m_tree.SetFont(&m_font);
    if (m_images.IsCreated()) m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    m_pane.CreateEx(WS_EX_STATICEDGE, "Edit", nullptr, kPaneStyle, CRect(w * 2 / 5 + 10, 50, w - 10, h - 60), this, kPaneId);
    m_pane.SetFont(&m_font);
    m_expand.Create("Open all", kChild | WS_TABSTOP | BS_OWNERDRAW, CRect(10, h - 50, 110, h - 20), this, kExpandId);
    m_collapse.Create("Close all", kChild | WS_TABSTOP | BS_OWNERDRAW, CRect(120, h - 50, 220, h - 20), this, kCollapseId);
    m_status.Create("Nothing selected", kChild | SS_CENTERIMAGE | WS_BORDER, CRect(230, h - 50, w - 10, h - 20), this,
                    kStatusId);
    m_status.SetFont(&m_font);
    FillTree();
    return 0;
}

void ControlsView::OnDestroy() {
    m_tree.DeleteAllItems();
    CWnd::OnDestroy();
}

void ControlsView::FillTree() {
    static const char* const kMonths[] = {"2005-04", "2005-05", "2005-06"};
    static const char* const kTypes[] = {"Login", "Recording", "Network", "Error"};
    for (int m = 0; m < 3; ++m) {
        const HTREEITEM month = m_tree.InsertItem(kMonths[m], 0, 0);
        for (int d = 1; d <= 12; ++d) {
            std::string day = std::to_string(d);
        if (day.size() < 2) day.insert(day.begin(), '0');
            const HTREEITEM dayItem = m_tree.InsertItem(day.c_str(), 2, 2, month);
            for (int t = 0; t < 4; ++t) {
                const HTREEITEM log = m_tree.InsertItem(kTypes[t], 3 + t, 3 + t, dayItem);
                m_tree.SetItemData(log, static_cast<DWORD_PTR>(m * 1000 + d * 10 + t));
            }
        }
    }
    m_tree.Expand(m_tree.GetRootItem(), TVE_EXPAND);
}

void ControlsView::OnTreeSelect(NMHDR* header, LRESULT* result) {
    const auto* nm = reinterpret_cast<NMTREEVIEW*>(header);
    const HTREEITEM item = nm->itemNew.hItem;
    std::vector<std::string> names;
    for (HTREEITEM i = item; i; i = m_tree.GetParentItem(i)) names.push_back(m_tree.GetItemText(i).str());
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!path.empty()) path += " / ";
        path += *it;
    }
    std::string text = "Item: " + path + "\r\nData: " + std::to_string(m_tree.GetItemData(item)) + "\r\n\r\n";
    int children = 0;
    for (HTREEITEM c = m_tree.GetChildItem(item); c; c = m_tree.GetNextSiblingItem(c)) {
        text += "  " + m_tree.GetItemText(c).str() + "\r\n";
        ++children;
    }
    text += std::to_string(children) + " children";
    m_pane.SetWindowText(text.c_str());
    m_status.SetWindowText(("Selected: " + path).c_str());
    *result = 0;
}

void ControlsView::SetAllExpanded(HTREEITEM parent, UINT action) {
    for (HTREEITEM c = m_tree.GetChildItem(parent); c; c = m_tree.GetNextSiblingItem(c)) {
        SetAllExpanded(c, action);
        m_tree.Expand(c, action);
    }
}

void ControlsView::OnButton(UINT id) { SetAllExpanded(TVI_ROOT, id == kExpandId ? TVE_EXPAND : TVE_COLLAPSE); }
