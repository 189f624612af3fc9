#pragma once
// The vertical scroll bar of a window: its parts, its painting and where a press lands.
// Positions follow the scroll information: the thumb spans nPage of the range nMin..nMax.
#include "platform/gdi/CDC.h"
#include "platform/ui/WindowTypes.h"

constexpr int kScrollBarWidth = 16;

struct ScrollBarParts {
    CRect upArrow;
    CRect downArrow;
    CRect track;  // between the arrows
    CRect thumb;  // empty when the whole range fits the page
};

ScrollBarParts LayOutScrollBar(const CRect& bar, const SCROLLINFO& info);
void PaintScrollBar(CDC& dc, const CRect& bar, const SCROLLINFO& info);
// The scroll request (SB_LINEUP, ...) for a press at `at` outside the thumb; SB_THUMBTRACK
// for a press on the thumb; SB_ENDSCROLL when the press hits nothing that scrolls.
UINT ScrollBarHit(const CRect& bar, const SCROLLINFO& info, CPoint at);
// The position that puts the thumb's top at `thumbTop` (clamped to the range).
int ScrollPosForThumb(const CRect& bar, const SCROLLINFO& info, int thumbTop);
