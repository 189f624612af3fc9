#pragma once
// Logical palettes: an ordered list of colours. The drawing surfaces hold true colour, so a
// palette never limits what is drawn; it gives the colour table of palettised DIB bits that a
// context hands out (GetDIBits) and answers nearest-colour questions.
#include <vector>

#include "platform/gdi/CGdiObject.h"

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

// A palette description: version 0x300, the count, then the entries (declared with one;
// callers allocate room for all of them).
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

constexpr WORD kPaletteVersion = 0x300;
constexpr UINT kHalftonePaletteSize = 256;

class GdiPalette : public GdiObject {
public:
    explicit GdiPalette(std::vector<PALETTEENTRY> entries)
        : GdiObject(GdiKind::palette), m_entries(std::move(entries)) {}
    const std::vector<PALETTEENTRY>& Entries() const { return m_entries; }
    // The index of the entry closest to `color` (squared RGB distance, first of equals).
    UINT NearestIndex(COLORREF color) const;

private:
    std::vector<PALETTEENTRY> m_entries;
};
using HPALETTE = GdiPalette*;

class CDC;

// A palette from a description; nullptr for none, a wrong version or no entries.
HPALETTE CreatePalette(const LOGPALETTE* description);
// The 256-colour halftone palette: the 20 static colours, a 6 x 6 x 6 colour cube and greys.
// The context is accepted as the system takes it and does not change the result.
HPALETTE CreateHalftonePalette(CDC* dc);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
// Copies up to `count` entries from `start`; returns how many were copied.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* out);

// The palette wrapper.
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
