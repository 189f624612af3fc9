#pragma once
// A brush wrapper (GdiBrush.h describes what a brush fills).
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiBrush.h"

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    HBRUSH GetHandle() const { return static_cast<HBRUSH>(m_hObject); }
    operator HBRUSH() const { return GetHandle(); }
    static CBrush* FromHandle(HBRUSH brush) { return static_cast<CBrush*>(CGdiObject::FromHandle(brush)); }
};
