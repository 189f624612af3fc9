#pragma once
// A font wrapper (GdiFont.h and FontEngine.h describe how a description becomes a face).
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiFont.h"

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* description) { return Attach(::CreateFontIndirect(description)); }
    // FALSE without a font; otherwise copies the description.
    BOOL GetLogFont(LOGFONT* out) const { return m_hObject && GetObjectA(m_hObject, sizeof(LOGFONT), out) != 0; }
    HFONT GetHandle() const { return static_cast<HFONT>(m_hObject); }
    operator HFONT() const { return GetHandle(); }
    static CFont* FromHandle(HFONT font) { return static_cast<CFont*>(CGdiObject::FromHandle(font)); }
};
