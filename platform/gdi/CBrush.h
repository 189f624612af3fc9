#pragma once
// Brushes: solid fills, or the hollow brush that fills nothing.
#include "platform/gdi/CGdiObject.h"

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

// The brush wrapper.
class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    HBRUSH GetHandle() const { return static_cast<HBRUSH>(m_hObject); }
    operator HBRUSH() const { return GetHandle(); }
    static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
};
