#include "calendar/ButtonEdges.h"

#include "platform/gdi/CPen.h"

namespace {

void Line(CDC& dc, COLORREF color, int x0, int y0, int x1, int y1) {
    CPen pen(PS_SOLID, 1, color);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
    dc.SelectObject(old);
}

void TopLeft(CDC& dc, const CRect& r, COLORREF color) {
    Line(dc, color, r.left, r.top, r.right, r.top);
    Line(dc, color, r.left, r.top, r.left, r.bottom);
}

void BottomRight(CDC& dc, const CRect& r, COLORREF color) {
    Line(dc, color, r.left, r.bottom - 1, r.right, r.bottom - 1);
    Line(dc, color, r.right - 1, r.top, r.right - 1, r.bottom);
}

// The black frame both edges start with; leaves `r` one pixel smaller.
void Frame(CDC& dc, CRect& r) {
    TopLeft(dc, r, 0);
    BottomRight(dc, r, 0);
    r.DeflateRect(1, 1);
}

}  // namespace

void DrawRaisedEdge(CDC& dc, CRect rect, const ButtonEdgeColors& colors) {
    Frame(dc, rect);
    TopLeft(dc, rect, colors.highlight);
    BottomRight(dc, rect, colors.darkShadow);
}

void DrawPressedEdge(CDC& dc, CRect rect, const ButtonEdgeColors& colors) {
    Frame(dc, rect);
    TopLeft(dc, rect, colors.darkShadow);
    rect.DeflateRect(1, 1);
    TopLeft(dc, rect, colors.shadow);
}
