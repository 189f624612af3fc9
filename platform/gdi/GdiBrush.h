#pragma once
// Brushes: solid fills, or the hollow brush that fills nothing.
#include "platform/gdi/GdiObject.h"

class GdiBrush : public GdiObject {
public:
    explicit GdiBrush(COLORREF color, bool hollow = false)
        : GdiObject(GdiKind::brush), m_color(color), m_hollow(hollow) {}
    COLORREF Color() const { return m_color; }
    bool Fills() const { return !m_hollow; }

private:
    COLORREF m_color;
    bool m_hollow;
};
using HBRUSH = GdiBrush*;

inline HBRUSH CreateSolidBrush(COLORREF color) { return new GdiBrush(color); }
