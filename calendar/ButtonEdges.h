#pragma once
// The edges of the calendar's buttons: a black frame, then a raised edge (light top and left,
// dark bottom and right) or a pressed one (dark top and left, two pixels deep). Lines are one
// pixel wide and do not draw their end points.
#include "platform/gdi/CDC.h"

struct ButtonEdgeColors {
    COLORREF highlight, shadow, darkShadow;
};

void DrawRaisedEdge(CDC& dc, CRect rect, const ButtonEdgeColors& colors);
void DrawPressedEdge(CDC& dc, CRect rect, const ButtonEdgeColors& colors);
