#pragma once
// Pens: the colour of the one-pixel lines and rectangle outlines. Every width draws one pixel
// wide (the controls use only one-pixel pens); PS_NULL draws nothing.
#include "platform/gdi/CGdiObject.h"

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

class GdiPen : public GdiObject {
public:
    GdiPen(int style, int width, COLORREF color)
        : GdiObject(GdiKind::pen), m_style(style), m_width(width), m_color(color) {}
    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }
    bool Draws() const { return m_style != PS_NULL; }

private:
    int m_style;
    int m_width;
    COLORREF m_color;
};
using HPEN = GdiPen*;

inline HPEN CreatePen(int style, int width, COLORREF color) { return new GdiPen(style, width, color); }

// The pen wrapper.
class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    HPEN GetHandle() const { return static_cast<HPEN>(m_hObject); }
    operator HPEN() const { return GetHandle(); }
    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
};
