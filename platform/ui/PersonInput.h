#pragma once
// Clicks as a person makes them, fed through the desktop's input path, so they act the same
// whichever backend shows the desktop: the headless one, a real window, or a host's toolkit.
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CWnd.h"

// Presses and releases the left button at a desktop point.
void ClickAt(CPoint at);
// The same at a window's client point.
void ClickClient(CWnd& wnd, CPoint at);
// Clicks the middle of an item's label, after opening its parents and scrolling it into view
// as a person would first. FALSE when the item is not in the tree.
BOOL ClickTreeItem(CTreeCtrl& tree, HTREEITEM item);
