#include "platform/ui/TreeView.h"

#include "platform/gdi/StockObjects.h"
#include "platform/ui/WindowStyles.h"

namespace {

constexpr int kContentGap = 3;  // from the item's column to its image or text
constexpr int kLabelPad = 2;    // the highlight reaches this far around the text
constexpr int kButtonHalf = 4;  // the expand button is 9 x 9

int Level(const TreeModel::Item* item, DWORD style) {
    return item->depth + ((style & TVS_LINESATROOT) ? 1 : 0);
}

bool HasButton(const TreeModel::Item* item, DWORD style) {
    return (style & TVS_HASBUTTONS) && item->firstChild && Level(item, style) > 0;
}

// Dotted lines put their dots on even desktop pixels, so that lines of neighbouring rows meet.
void DotsDown(CDC& dc, int x, int y0, int y1, COLORREF c) {
    const int origin = dc.GetViewportOrg().y + dc.GetViewportOrg().x + x;
    for (int y = y0; y < y1; ++y) {
        if (((y + origin) & 1) == 0) dc.SetPixel(x, y, c);
    }
}
void DotsAcross(CDC& dc, int x0, int x1, int y, COLORREF c) {
    const int origin = dc.GetViewportOrg().y + dc.GetViewportOrg().x + y;
    for (int x = x0; x < x1; ++x) {
        if (((x + origin) & 1) == 0) dc.SetPixel(x, y, c);
    }
}

}  // namespace

void TreeView::Measure(CDC& dc, const CImageList* images) {
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    int cx = 0;
    int cy = 0;
    if (images) images->GetIconSize(&cx, &cy);
    m_rowHeight = std::max<int>(tm.tmHeight, cy) + 2;
    m_topItem = nullptr;
}

void TreeView::SetTop(int top, int clientHeight) {
    const int limit = std::max(0, m_model.RowCount() - PageRows(clientHeight));
    const int clamped = std::clamp(top, 0, limit);
    if (clamped != m_top) m_topItem = nullptr;
    m_top = clamped;
}

TreeModel::Item* TreeView::TopItem() {
    if (!m_topItem) m_topItem = m_model.ItemAtRow(m_top);
    return m_topItem;
}

TreeView::Columns TreeView::ColumnsOf(const TreeModel::Item* item, const Look& look) const {
    const int level = Level(item, look.style);
    Columns c;
    c.button = level > 0 ? (level - 1) * m_indent + m_indent / 2 : -1;
    c.image = level * m_indent + kContentGap;
    int cx = 0;
    int cy = 0;
    if (look.images) look.images->GetIconSize(&cx, &cy);
    c.text = c.image + (cx > 0 ? cx + kContentGap : 0);
    return c;
}

void TreeView::Paint(CDC& dc, const CRect& client, const Look& look) {
    dc.FillSolidRect(client, GetSysColor(COLOR_WINDOW));
    CRect clip;
    dc.GetClipBox(&clip);
    int y = 0;
    for (TreeModel::Item* item = TopItem(); item && y < client.bottom; item = m_model.NextShown(item)) {
        if (y + m_rowHeight > clip.top && y < clip.bottom) PaintRow(dc, item, y, client, look);
        y += m_rowHeight;
    }
}

void TreeView::PaintLines(CDC& dc, const TreeModel::Item* item, int y, const Look& look) {
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const int mid = y + m_rowHeight / 2;
    const Columns c = ColumnsOf(item, look);
    if (c.button < 0) return;
    // The item's own connector: down from the row above, on to the next sibling, across.
    const bool first = !item->prev && item->depth == 0;
    DotsDown(dc, c.button, first ? mid : y, item->next ? y + m_rowHeight : mid + 1, grey);
    DotsAcross(dc, c.button, c.image - 1, mid, grey);
    // The lines of ancestors that have siblings still to come pass through this row.
    for (const TreeModel::Item* a = item->parent; a && a->depth >= 0; a = a->parent) {
        const Columns ac = ColumnsOf(a, look);
        if (ac.button >= 0 && a->next) DotsDown(dc, ac.button, y, y + m_rowHeight, grey);
    }
}

void TreeView::PaintButton(CDC& dc, const TreeModel::Item* item, int cx, int cy) {
    const CRect box(cx - kButtonHalf, cy - kButtonHalf, cx + kButtonHalf + 1, cy + kButtonHalf + 1);
    dc.FillSolidRect(box, GetSysColor(COLOR_WINDOW));
    dc.Draw3dRect(box, GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_GRAYTEXT));
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    dc.FillSolidRect(CRect(cx - 2, cy, cx + 3, cy + 1), ink);
    if (!item->expanded) dc.FillSolidRect(CRect(cx, cy - 2, cx + 1, cy + 3), ink);
}

void TreeView::PaintRow(CDC& dc, TreeModel::Item* item, int y, const CRect& client, const Look& look) {
    const Columns c = ColumnsOf(item, look);
    const int mid = y + m_rowHeight / 2;
    if (look.style & TVS_HASLINES) PaintLines(dc, item, y, look);
    if (HasButton(item, look.style)) PaintButton(dc, item, c.button, mid);
    const bool selected = item == look.selected;
    if (look.images) {
        int cx = 0;
        int cy = 0;
        look.images->GetIconSize(&cx, &cy);
        look.images->Draw(&dc, selected ? item->selectedImage : item->image, CPoint(c.image, y + (m_rowHeight - cy) / 2),
                          ILD_TRANSPARENT);
    }
    const CSize extent = dc.GetTextExtent(item->text.c_str(), static_cast<int>(item->text.size()));
    const CRect label(c.text - kLabelPad, y, std::min<int>(c.text + extent.cx + kLabelPad, client.right), y + m_rowHeight);
    COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    if (selected && look.focused) {
        dc.FillSolidRect(label, GetSysColor(COLOR_HIGHLIGHT));
        ink = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (selected && (look.style & TVS_SHOWSELALWAYS)) {
        dc.FillSolidRect(label, GetSysColor(COLOR_BTNFACE));
        ink = GetSysColor(COLOR_BTNTEXT);
    }
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(ink);
    dc.TextOut(c.text, y + (m_rowHeight - extent.cy) / 2, item->text.c_str(), static_cast<int>(item->text.size()));
    if (selected && look.focused) dc.DrawFocusRect(label);
}

UINT TreeView::HitTest(CDC& dc, CPoint at, const Look& look, TreeModel::Item** found) {
    *found = nullptr;
    if (at.y < 0 || at.x < 0) return TVHT_NOWHERE;
    TreeModel::Item* item = TopItem();
    for (int skip = at.y / m_rowHeight; item && skip > 0; --skip) item = m_model.NextShown(item);
    if (!item) return TVHT_NOWHERE | TVHT_BELOW;
    *found = item;
    const Columns c = ColumnsOf(item, look);
    if (HasButton(item, look.style) && at.x >= c.button - kButtonHalf - 1 && at.x <= c.button + kButtonHalf + 1) {
        return TVHT_ONITEMBUTTON;
    }
    if (at.x < c.image) return TVHT_ONITEMINDENT;
    if (at.x < c.text - (look.images ? kContentGap : 0)) return TVHT_ONITEMICON;
    const int width = dc.GetTextExtent(item->text.c_str(), static_cast<int>(item->text.size())).cx;
    return at.x < c.text + width + kLabelPad ? TVHT_ONITEMLABEL : TVHT_ONITEMRIGHT;
}

CRect TreeView::ItemRect(CDC& dc, TreeModel::Item* item, bool labelOnly, const Look& look, int clientWidth) {
    const int row = m_model.RowOf(item);
    if (row < 0) return {};
    const int y = (row - m_top) * m_rowHeight;
    if (!labelOnly) return {0, y, clientWidth, y + m_rowHeight};
    const Columns c = ColumnsOf(item, look);
    const int width = dc.GetTextExtent(item->text.c_str(), static_cast<int>(item->text.size())).cx;
    return {c.text - kLabelPad, y, c.text + width + kLabelPad, y + m_rowHeight};
}
