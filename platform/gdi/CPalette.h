#pragma once
// A palette wrapper (GdiPalette.h describes what a palette does on a true-colour surface).
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiPalette.h"

class CPalette : public CGdiObject {
public:
    BOOL CreatePalette(const LOGPALETTE* description) { return Attach(::CreatePalette(description)); }
    BOOL CreateHalftonePalette(CDC* dc) { return Attach(::CreateHalftonePalette(dc)); }
    int GetEntryCount() const { return m_hObject ? static_cast<int>(GetHandle()->Entries().size()) : 0; }
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* out) const {
        return ::GetPaletteEntries(GetHandle(), start, count, out);
    }
    HPALETTE GetHandle() const { return static_cast<HPALETTE>(m_hObject); }
    operator HPALETTE() const { return GetHandle(); }
    static CPalette* FromHandle(HPALETTE palette) { return static_cast<CPalette*>(CGdiObject::FromHandle(palette)); }
};
