#include "platform/gdi/CPalette.h"

#include <array>
#include <limits>

#include "platform/gdi/ColorRef.h"

namespace {

// The static colours of a palette device: ten at the start and ten at the end.
constexpr std::array<COLORREF, 20> kStaticColors = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
    RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};

PALETTEENTRY Entry(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c), 0}; }

}  // namespace

UINT GdiPalette::NearestIndex(COLORREF color) const {
    UINT best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (UINT i = 0; i < m_entries.size(); ++i) {
        const int dr = m_entries[i].peRed - GetRValue(color);
        const int dg = m_entries[i].peGreen - GetGValue(color);
        const int db = m_entries[i].peBlue - GetBValue(color);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return best;
}

HPALETTE CreatePalette(const LOGPALETTE* description) {
    if (!description || description->palVersion != kPaletteVersion || description->palNumEntries == 0) return nullptr;
    const PALETTEENTRY* first = description->palPalEntry;
    return new GdiPalette(std::vector<PALETTEENTRY>(first, first + description->palNumEntries));
}

HPALETTE CreateHalftonePalette(CDC*) {
    std::vector<PALETTEENTRY> entries;
    entries.reserve(kHalftonePaletteSize);
    for (size_t i = 0; i < 10; ++i) entries.push_back(Entry(kStaticColors[i]));
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                entries.push_back(Entry(RGB(static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51))));
    // Fill up to 246 with greys between the cube's steps, then the last ten static colours.
    for (int i = 1; entries.size() < kHalftonePaletteSize - 10; ++i) {
        const auto level = static_cast<BYTE>(i * 255 / 21);
        entries.push_back(Entry(RGB(level, level, level)));
    }
    for (size_t i = 10; i < kStaticColors.size(); ++i) entries.push_back(Entry(kStaticColors[i]));
    return new GdiPalette(std::move(entries));
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
    return palette ? palette->NearestIndex(color) : 0;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* out) {
    if (!palette || !out || start >= palette->Entries().size()) return 0;
    UINT copied = 0;
    for (UINT i = start; i < palette->Entries().size() && copied < count; ++i) out[copied++] = palette->Entries()[i];
    return copied;
}
