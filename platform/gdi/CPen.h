#pragma once
// A pen wrapper (GdiPen.h describes what a pen draws).
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiPen.h"

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    HPEN GetHandle() const { return static_cast<HPEN>(m_hObject); }
    operator HPEN() const { return GetHandle(); }
    static CPen* FromHandle(HPEN pen) { return static_cast<CPen*>(CGdiObject::FromHandle(pen)); }
};
