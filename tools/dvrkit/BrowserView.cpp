#include "tools/dvrkit/BrowserView.h"

#include "platform/ui/PersonInput.h"

namespace {

// The first item, in the order a person reads the tree, that stands for an entry: groups and
// channels carry no data, entries do.
HTREEITEM FirstEntry(CTreeCtrl& tree, HTREEITEM first) {
    for (HTREEITEM item = first; item; item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemData(item) != 0) return item;
        if (const HTREEITEM inside = FirstEntry(tree, tree.GetChildItem(item))) return inside;
    }
    return nullptr;
}

}  // namespace

void OpenLatestEntry(CTreeCtrl& months, CTreeCtrl& entries) {
    const HTREEITEM newest = months.GetRootItem();
    if (!newest) return;
    ClickTreeItem(months, newest);
    if (const HTREEITEM latestDay = months.GetChildItem(newest)) ClickTreeItem(months, latestDay);
    if (const HTREEITEM entry = FirstEntry(entries, entries.GetRootItem())) ClickTreeItem(entries, entry);
}
