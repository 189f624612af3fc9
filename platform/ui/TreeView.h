#pragma once
// The drawing side of a tree view: where each shown row lies, painting the rows in view and
// telling what a point hits. It reads the model and keeps only the scroll position (the first
// row in view, with its item remembered until the model changes), so painting costs the rows
// in view whatever the number of items.
#include "platform/gdi/CDC.h"
#include "platform/ui/TreeModel.h"

class TreeView {
public:
    struct Look {
        DWORD style = 0;          // TVS_* styles of the window
        bool focused = false;     // the window has the keyboard focus
        CImageList* images = nullptr;
        TreeModel::Item* selected = nullptr;
    };

    explicit TreeView(TreeModel& model) : m_model(model) {}

    // Row height from the font's height and the images' height.
    void Measure(CDC& dc, const CImageList* images);
    int RowHeight() const { return m_rowHeight; }
    int Indent() const { return m_indent; }
    void SetIndent(int indent) { m_indent = std::max(indent, 1); }

    // Whole rows that fit a client area of that height (at least 1).
    int PageRows(int clientHeight) const { return std::max(1, clientHeight / m_rowHeight); }
    int Top() const { return m_top; }
    // Scrolls so that row `top` comes first, kept within what the rows and the page allow.
    void SetTop(int top, int clientHeight);
    // Forgets the remembered first item after any change to the model.
    void ModelChanged() { m_topItem = nullptr; }
    TreeModel::Item* TopItem();

    void Paint(CDC& dc, const CRect& client, const Look& look);
    // TVHT_* flags for a client point, and the item of its row (nullptr below the last row).
    UINT HitTest(CDC& dc, CPoint at, const Look& look, TreeModel::Item** item);
    // The rectangle of a shown item's row, or of its label only; empty when out of view.
    CRect ItemRect(CDC& dc, TreeModel::Item* item, bool labelOnly, const Look& look, int clientWidth);

private:
    struct Columns {
        int button;  // centre of the button column; < 0 when the item has none
        int image;   // left of the image
        int text;    // left of the text
    };
    Columns ColumnsOf(const TreeModel::Item* item, const Look& look) const;
    void PaintRow(CDC& dc, TreeModel::Item* item, int y, const CRect& client, const Look& look);
    void PaintLines(CDC& dc, const TreeModel::Item* item, int y, const Look& look);
    void PaintButton(CDC& dc, const TreeModel::Item* item, int cx, int cy);

    TreeModel& m_model;
    int m_rowHeight = 18;
    int m_indent = 19;
    int m_top = 0;
    TreeModel::Item* m_topItem = nullptr;
};
