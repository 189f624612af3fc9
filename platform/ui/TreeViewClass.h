#pragma once
// The tree view class ("SysTreeView32"): answers the TVM_* messages from its model, paints
// through its view, and turns clicks, keys, the wheel and its scroll bar into expansion,
// selection and scrolling. A selection change, by mouse, keyboard or program, sends
// TVN_SELCHANGING (the parent may refuse it by answering TRUE) and then TVN_SELCHANGED, both
// with the old and the new item; choosing the selected item again sends nothing.
//
// Deleting the selected item, or a branch that holds it, leaves the tree without a selection
// and sends no notification. The platform's own tree moves the selection to a neighbour and
// reports that as a selection change, which would make a browser load a month or day that the
// user never chose; here the deletion stays the program's act, and the user's next click on
// any item, the neighbour included, is a real selection change. Deleting all items clears
// the selection the same way, as the platform's tree does.
//
// The vertical scroll bar appears (WS_VSCROLL) only while the rows do not fit.
#include "platform/ui/TreeModel.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/WindowClass.h"

class TreeViewClass : public WindowClass {
public:
    TreeViewClass() : m_view(m_model) {}
    LRESULT WindowProc(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TreeView::Look Look(const CWnd& wnd) const;
    LRESULT Insert(CWnd& wnd, const TVINSERTSTRUCT* insert);
    BOOL Delete(CWnd& wnd, HTREEITEM handle);
    BOOL Expand(CWnd& wnd, TreeModel::Item* item, UINT action);
    HTREEITEM Next(UINT relation, HTREEITEM handle);
    BOOL GetItem(TVITEM* item);
    BOOL SetItem(CWnd& wnd, const TVITEM* item);
    // Selects `item` (nullptr for none) with the two notifications; FALSE when refused.
    bool Select(CWnd& wnd, TreeModel::Item* item, UINT action);
    LRESULT Notify(CWnd& wnd, int code, UINT action, TreeModel::Item* oldItem, TreeModel::Item* newItem);
    void EnsureVisible(CWnd& wnd, TreeModel::Item* item);
    void OnClick(CWnd& wnd, CPoint at);
    void OnKey(CWnd& wnd, UINT key);
    // Tells the parent of a key (TVN_KEYDOWN); false when the tree is gone afterwards.
    bool TellKey(CWnd& wnd, UINT key);
    void ScrollTo(CWnd& wnd, int top);
    void OnVScroll(CWnd& wnd, UINT code, int pos);
    // After any change of the rows: scroll range, scroll bar, repaint.
    void Changed(CWnd& wnd);
    void Remeasure(CWnd& wnd);
    int ClientHeight(const CWnd& wnd) const;

    TreeModel m_model;
    TreeView m_view;
    TreeModel::Item* m_selected = nullptr;
    CImageList* m_images = nullptr;
    int m_wheelRest = 0;  // wheel turns smaller than a row, kept for the next turn
};
