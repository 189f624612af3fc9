#pragma once
// The window of `dvrkit view controls`: a tree of months, days and logs, a text pane that
// describes the selected item, two owner-drawn buttons that open and close every branch, a
// title label and a status label. It shows the controls as the browsers use them.
#include <memory>

#include "platform/gdi/CImageList.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CTreeCtrl.h"

class ControlsView : public CWnd {
public:
    static constexpr UINT kTreeId = 1001;
    static constexpr UINT kPaneId = 1003;
    static constexpr UINT kExpandId = 2001;
    static constexpr UINT kCollapseId = 2002;
    static constexpr UINT kStatusId = 11;

    // Creates the view on the desktop at (0, 0) with the given size.
    BOOL CreateView(int width, int height);
    CTreeCtrl& Tree() { return m_tree; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnTreeSelect(NMHDR* header, LRESULT* result);
    void OnButton(UINT id);

private:
    // An owner-drawn button with a coloured face that sinks while pressed.
    class FaceButton : public CButton {
    public:
        void DrawItem(LPDRAWITEMSTRUCT item) override;
    };

    void FillTree();
    void SetAllExpanded(HTREEITEM parent, UINT action);

    CFont m_font;
    CImageList m_images;
    CStatic m_title;
    CTreeCtrl m_tree;
    CEdit m_pane;
    FaceButton m_expand;
    FaceButton m_collapse;
    CStatic m_status;
};
