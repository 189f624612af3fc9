#include "platform/ui/PersonInput.h"

#include "platform/ui/CDesktop.h"

void ClickAt(CPoint at) {
    CDesktop& desktop = CDesktop::Get();
    desktop.MouseDown(at);
    desktop.MouseUp(at);
}

void ClickClient(CWnd& wnd, CPoint at) {
    wnd.ClientToScreen(&at);
    ClickAt(at);
}

BOOL ClickTreeItem(CTreeCtrl& tree, HTREEITEM item) {
    CRect label;
    if (!item || !tree.EnsureVisible(item) || !tree.GetItemRect(item, &label, TRUE)) return FALSE;
    ClickClient(tree, label.CenterPoint());
    return TRUE;
}
