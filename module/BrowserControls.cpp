#include "module/BrowserControls.h"

#include "module/HostContract.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/StockObjects.h"

namespace browser {

Layout Layout::For(int width, int height) {
    const int split = width * 4 / 10;
    return {CRect(kMargin, kMargin, split, height - kPaneHeight),
            CRect(split - 1, kMargin, width - kMargin, height - kPaneHeight),
            CRect(kMargin, height - kPaneHeight, width - kMargin, height - kMargin)};
}

std::unique_ptr<CFont> DefaultGuiFont() {
    LOGFONT description{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    auto font = std::make_unique<CFont>();
    font->CreateFontIndirect(&description);
    return font;
}

std::unique_ptr<CImageList> HostIcons(UINT colorFlags) {
    auto icons = std::make_unique<CImageList>();
    icons->Create(host::kIconSize, host::kIconSize, colorFlags | ILC_MASK, 8, 0);
    CBitmap strip;
    if (strip.LoadBitmap(host::kIconStripBitmap)) icons->Add(&strip, host::kIconMask);
    return icons;
}

namespace {

Layout LayoutOf(const CWnd& parent) {
    CRect client;
    parent.GetClientRect(&client);
    return Layout::For(client.Width(), client.Height());
}

}  // namespace

void CreateTwoTreeControls(CWnd& parent, const Controls& c, CFont& font, CImageList& icons) {
    const Layout layout = LayoutOf(parent);
    c.monthTree.CreateEx(0, "SysTreeView32", nullptr, kMonthTreeStyle, layout.monthTree, &parent, c.monthTreeId);
    c.monthTree.SetFont(&font, TRUE);
    c.entryTree.CreateEx(0, "SysTreeView32", nullptr, kEntryTreeStyle, layout.entryTree, &parent, c.entryTreeId);
    c.entryTree.SetFont(&font, TRUE);
    c.monthTree.SetImageList(&icons, TVSIL_NORMAL);
    c.entryTree.SetImageList(&icons, TVSIL_NORMAL);
    c.pane.CreateEx(kPaneExStyle, "Edit", nullptr, kPaneStyle, layout.pane, &parent, c.paneId);
    c.pane.SetFont(&font, TRUE);
}

void PlaceTwoTreeControls(CWnd& parent, const Controls& c) {
    const Layout layout = LayoutOf(parent);
    c.monthTree.MoveWindow(layout.monthTree);
    c.entryTree.MoveWindow(layout.entryTree);
    c.pane.MoveWindow(layout.pane);
}

void CloseControls(std::initializer_list<CWnd*> controls) {
    for (CWnd* control : controls)
        if (control->GetSafeHwnd()) control->SendMessage(WM_CLOSE);
}

}  // namespace browser
